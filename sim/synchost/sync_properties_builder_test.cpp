#include "sim/synchost/sync_properties_builder.h"

#include <cstring>

#include <gtest/gtest.h>

#include "sim/condmgr/korvet_registration.h"

namespace korvet::hotsync {
namespace {

ConduitRegistration Korvet() { return KorvetRegistration("C:\\Data\\"); }

TEST(SyncPropertiesBuilder, FillsTheRecordFromTheRegistration) {
  std::string error;
  std::optional<SyncProperties> built = BuildSyncProperties(Korvet(), kDesktopOverwritesHandheld, "Ann Lee", &error);
  ASSERT_TRUE(built) << error;
  const SyncProperties& p = *built;
  EXPECT_EQ(p.syncType, 3);
  EXPECT_STREQ(p.localDirectory, "C:\\Data\\");
  EXPECT_STREQ(p.localName, "dummy.qzl");
  EXPECT_STREQ(p.remoteNames[0], "KORVETDatabaseDB");
  EXPECT_EQ(p.remoteNames[1][0], 0);
  EXPECT_EQ(p.remoteCount, 1);
  EXPECT_EQ(p.remoteDescriptors, nullptr);
  EXPECT_EQ(p.creator, 0x4B525654u);
  EXPECT_EQ(p.databaseType, 0x44415441u);
  EXPECT_EQ(p.categoryMode, 0);
  EXPECT_STREQ(p.userName, "Ann Lee");
  // Everything else is zero.
  static const std::uint8_t zeros[sizeof p.reserved2] = {};
  EXPECT_EQ(std::memcmp(p.reserved2, zeros, sizeof p.reserved2), 0);
  EXPECT_EQ(std::memcmp(p.reserved1, zeros, sizeof p.reserved1), 0);
  EXPECT_EQ(p.localDirectory[9], 0);
}

TEST(SyncPropertiesBuilder, RefusesValuesLongerThanTheirFields) {
  std::string error;
  ConduitRegistration conduit = Korvet();
  conduit.remote = std::string(31, 'r');
  EXPECT_TRUE(BuildSyncProperties(conduit, 0, "u", &error));
  conduit.remote += 'r';
  EXPECT_FALSE(BuildSyncProperties(conduit, 0, "u", &error));
  EXPECT_NE(error.find("remote database"), std::string::npos);
  conduit = Korvet();
  conduit.directory = std::string(256, 'd');
  EXPECT_FALSE(BuildSyncProperties(conduit, 0, "u", &error));
  conduit = Korvet();
  EXPECT_FALSE(BuildSyncProperties(conduit, 0, std::string(64, 'u'), &error));
  EXPECT_EQ(FourCharValue("AB"), 0x41420000u);
}

}  // namespace
}  // namespace korvet::hotsync
