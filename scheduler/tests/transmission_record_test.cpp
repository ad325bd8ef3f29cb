#include "scheduler/transmission_record.h"

#include <gtest/gtest.h>

#include <sstream>

#include "scheduler/dtmf_handler.h"
#include "scheduler/tests/scheduler_fixture.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

TEST(TransmissionRecord, SlotSendsAndFailuresWithTheirWait) {
  test::SchedulerFixture f;
  TransmissionRecord record(f.time);
  auto* log = new std::ostringstream;
  record.appendTo(std::unique_ptr<std::ostream>(log));
  f.services.record = &record;
  f.clickMode(21);
  f.arm(0, "a.wav", "5");
  f.host.firstBusy = true;
  f.seconds(9);
  f.host.firstBusy = false;
  f.seconds(1);                       // due at 6 s, sent at 10 s
  f.host.fail("TransmitFile");
  f.seconds(6);
  f.files.files.clear();
  f.host.heal("TransmitFile");
  f.seconds(6);
  f.check21.setValue(0);
  f.check20.setValue(1);
  f.seconds(6);
  ASSERT_EQ(record.entries().size(), 4u);
  EXPECT_EQ(log->str().substr(0, log->str().find("\r\n")), "2026-01-01 12:00:10\tslot 1\ta.wav\tRF+IP\tenviada após 4 s de espera");
  EXPECT_EQ(record.entries()[1].outcome.rfind("host falhou: ", 0), 0u);
  EXPECT_EQ(record.entries()[2].outcome, "arquivo não existe");
  EXPECT_EQ(record.entries()[3].mode, "RF");
  EXPECT_EQ(record.entries()[3].outcome, "enviada");   // the recording player always plays

  // The identification answered to DTMF.
  DtmfHandler dtmf(f.controls, f.guard);
  dtmf.onDtmfString("AA");
  EXPECT_EQ(record.entries().back().origin, "DTMF");
  EXPECT_EQ(record.entries().back().outcome, "enviada");
}

TEST(TransmissionRecord, FieldsCannotBreakTheLine) {
  RecordEntry e{{2026, 3, 9, 7, 5, 3, 0, 1}, "agenda 2", "a\tb.wav", "RF", "host falhou: linha\r\nfalsa"};
  EXPECT_EQ(RecordLine(e), "2026-03-09 07:05:03\tagenda 2\ta b.wav\tRF\thost falhou: linha  falsa");
}

}  // namespace
}  // namespace orv
