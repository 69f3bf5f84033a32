#include <gtest/gtest.h>

#include <cstring>

#include "conduit/entry/conduit_records.h"
#include "conduit/entry/config_dialog.h"
#include "conduit/entry/sync_properties.h"

extern "C" {
long OpenConduit(void* hotsync, korvet::SyncProperties* properties);
long GetConduitName(char* buffer, std::uint16_t capacity);
std::uint32_t GetConduitVersion();
long GetConduitInfo(long kind, void* request, void* out, std::uint32_t* outSize);
long ConfigureConduit(void* oldRecord);
long CfgConduit(long kind, void* request, std::uint32_t* size);
}

namespace korvet {
namespace {

TEST(ConduitName, IsLoadedFromTheStringTableCutToTheCapacity) {
  char name[64];
  std::memset(name, 'x', sizeof name);
  EXPECT_EQ(GetConduitName(name, sizeof name), 0);
  EXPECT_STREQ(name, "Korvet");
  std::memset(name, 'x', sizeof name);
  EXPECT_EQ(GetConduitName(name, 4), 0);
  EXPECT_STREQ(name, "Kor");
  EXPECT_EQ(name[4], 'x');
  EXPECT_EQ(GetConduitName(name, 0), -1);
  EXPECT_EQ(GetConduitName(nullptr, 10), -1);
  EXPECT_EQ(GetConduitVersion(), 0x102u);
}

class ConduitInfoTest : public ::testing::Test {
 protected:
  ConduitInfoRequest request_{1, 80, 0, 0, {}};
  char out_[16] = {};
  std::uint32_t size_ = 4;
};

TEST_F(ConduitInfoTest, ChecksRunInOrder) {
  EXPECT_EQ(GetConduitInfo(0, &request_, nullptr, nullptr), 4209);
  EXPECT_EQ(GetConduitInfo(0, &request_, out_, nullptr), 4215);
  EXPECT_EQ(GetConduitInfo(0, nullptr, out_, &size_), 4212);
  EXPECT_EQ(GetConduitInfo(7, &request_, out_, &size_), 4208);
  request_.version = 2;
  EXPECT_EQ(GetConduitInfo(0, &request_, out_, &size_), 4213);
  request_.version = 1;
  request_.size = 79;
  EXPECT_EQ(GetConduitInfo(0, &request_, out_, &size_), 4213);
}

TEST_F(ConduitInfoTest, NameKindFillsTheBufferUpToTheGivenSize) {
  size_ = sizeof out_;
  EXPECT_EQ(GetConduitInfo(0, &request_, out_, &size_), 0);
  EXPECT_STREQ(out_, "Korvet");
  EXPECT_EQ(size_, sizeof out_);  // the size is not updated
  size_ = 0;
  EXPECT_EQ(GetConduitInfo(0, &request_, out_, &size_), 4214);
}

TEST_F(ConduitInfoTest, ValueKindsNeedFourBytes) {
  std::uint32_t value = 0xDEADBEEF;
  size_ = 8;
  EXPECT_EQ(GetConduitInfo(1, nullptr, &value, &size_), 4211);
  EXPECT_EQ(value, 0xDEADBEEFu);
  size_ = 4;
  EXPECT_EQ(GetConduitInfo(1, nullptr, &value, &size_), 0);
  EXPECT_EQ(value, 0x10000000u);
  EXPECT_EQ(GetConduitInfo(2, nullptr, &value, &size_), 0);
  EXPECT_EQ(value, 0u);
}

// A dialog stand-in that records its calls and ends as told.
struct DialogProbe {
  static inline int calls = 0;
  static inline int lastTemplate = 0;
  static inline long endValue = 0;
  static long Run(int templateId, ConfigRequest* record) {
    ++calls;
    lastTemplate = templateId;
    if (endValue == 0) {
      record->chosenAction = kActionDoNothing;
      record->defaultChoice = 1;
    }
    return endValue;
  }
};

class ConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DialogProbe::calls = 0;
    DialogProbe::endValue = 0;
    SetConfigDialogRunner(&DialogProbe::Run);
    std::memset(&record_, 0, sizeof record_);
    record_.version = 1;
    record_.size = sizeof record_;
  }
  void TearDown() override { SetConfigDialogRunner(nullptr); }

  ConfigRequest record_;
  std::uint32_t size_ = 352;
};

TEST_F(ConfigurationTest, CfgConduitChecksRunInOrderWithoutOpeningTheDialog) {
  EXPECT_EQ(CfgConduit(0, nullptr, nullptr), 4212);
  EXPECT_EQ(CfgConduit(0, &record_, nullptr), 4216);
  std::uint32_t wrong = 351;
  EXPECT_EQ(CfgConduit(1, &record_, &wrong), 4218);
  EXPECT_EQ(CfgConduit(1, &record_, &size_), 4217);
  record_.version = 2;
  EXPECT_EQ(CfgConduit(0, &record_, &size_), 4219);
  EXPECT_EQ(DialogProbe::calls, 0);
}

TEST_F(ConfigurationTest, CfgConduitRunsTemplate101OnTheCallersRecordAndReturnsZeroEvenOnCancel) {
  EXPECT_EQ(CfgConduit(0, &record_, &size_), 0);
  EXPECT_EQ(DialogProbe::lastTemplate, 101);
  EXPECT_EQ(record_.chosenAction, kActionDoNothing);
  DialogProbe::endValue = 1;
  EXPECT_EQ(CfgConduit(0, &record_, &size_), 0);
  EXPECT_EQ(DialogProbe::calls, 2);
}

TEST_F(ConfigurationTest, ConfigureConduitCopiesTheChoiceBackOnlyOnOk) {
  OldConfigRecord old;
  std::memset(&old, 0, sizeof old);
  old.action = kActionSynchronize;
  old.defaultChoice = 77;
  DialogProbe::endValue = 1;
  EXPECT_EQ(ConfigureConduit(&old), -1);
  EXPECT_EQ(old.action, kActionSynchronize);
  EXPECT_EQ(old.defaultChoice, 77);
  EXPECT_EQ(DialogProbe::lastTemplate, 399);

  DialogProbe::endValue = 0;
  EXPECT_EQ(ConfigureConduit(&old), 0);
  EXPECT_EQ(old.action, kActionDoNothing);
  EXPECT_EQ(old.defaultChoice, 1);
}

}  // namespace
}  // namespace korvet
