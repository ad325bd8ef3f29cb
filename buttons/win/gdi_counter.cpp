#include "buttons/win/gdi_counter.h"

#include <atomic>

namespace orv::buttons::win {

namespace {
std::atomic<long> g_live{0};
}

long LiveGdiObjects() { return g_live.load(); }
void AdjustLiveGdiObjects(long delta) { g_live.fetch_add(delta); }

}  // namespace orv::buttons::win
