#include "scheduler/dtmf_handler.h"

#include <gtest/gtest.h>

#include "tests/support/form_fixture.h"
#include "tests/support/recording_player.h"

using namespace orv;
using namespace orv::test;

TEST(DtmfHandler, OnlyTheWholeCodeAsTypedSendsTheIdentification) {
  FormFixture f;
  RecordingPlayer player{f.fields};
  TransmitterGuard guard{f.controls, f.services, f.fields, player};
  DtmfHandler dtmf(f.controls, guard);
  for (const std::string& digits : std::vector<std::string>{"aa", "A", "AAA", "AA ", " AA", "", std::string("AA\0", 3)})
    EXPECT_TRUE(dtmf.onDtmfString(digits).ok);
  EXPECT_TRUE(f.host.calls.empty());
  EXPECT_TRUE(dtmf.onDtmfString("AA").ok);
  EXPECT_EQ(f.host.calls, std::vector<std::string>{"SendIdentification(0)"});
}

TEST(DtmfHandler, TheCodeIsReadWhenTheDigitsArrive) {
  FormFixture f;
  RecordingPlayer player{f.fields};
  TransmitterGuard guard{f.controls, f.services, f.fields, player};
  DtmfHandler dtmf(f.controls, guard);
  f.dtmf.setText("123#");
  dtmf.onDtmfString("AA");
  dtmf.onDtmfString("123#");
  f.dtmf.setText("");
  dtmf.onDtmfString("123#");
  dtmf.onDtmfString("");  // an empty code matches only empty digits
  dtmf.onDtmfString(std::string(1 << 20, '7'));
  EXPECT_EQ(f.host.count("SendIdentification(0)"), 2);
  EXPECT_EQ(f.dtmf.text(), "");  // digits are never written anywhere
}

TEST(DtmfHandler, AHostFailureGoesBackToTheCaller) {
  FormFixture f;
  RecordingPlayer player{f.fields};
  TransmitterGuard guard{f.controls, f.services, f.fields, player};
  DtmfHandler dtmf(f.controls, guard);
  f.host.fail("SendIdentification");
  const HostReply r = dtmf.onDtmfString("AA");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "SendIdentification(0) failed");
}
