// libFuzzer target: any text through the number readings, under a dot and a
// comma locale. No reading may fail on any input, and the readings must agree
// where their rules overlap.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scheduler/number_readings.h"
#include "tests/support/fake_services.h"

using namespace orv;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  test::FakeLocale comma;
  test::FakeLocale dot;
  dot.decimal = ".";
  dot.thousands = ",";

  const double leading = LeadingValue(text);
  Check(!std::isnan(leading));

  for (const test::FakeLocale* locale : {&comma, &dot}) {
    if (auto v = NumericValue(text, *locale)) {
      Check(std::isfinite(*v));
      const std::string shown = PlainDecimalText(*v, *locale);
      Check(!shown.empty() && shown[0] != ' ');
      auto back = NumericValue(shown, *locale);
      Check(back.has_value());
      Check(*back == *v || std::fabs(*back - *v) <= 1e-14 * std::fabs(*v) || std::fabs(*v) < 1e-300);
    }
  }

  if (auto s = IntervalSeconds(text)) {
    Check(*s >= 1 && *s <= kMaxIntervalSeconds);
    Check(LeadingValue(text) == static_cast<double>(*s));
    Check(NumericValue(text, dot) == static_cast<double>(*s));
  }
  return 0;
}
