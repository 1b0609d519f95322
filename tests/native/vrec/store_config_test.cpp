// The disc store's files, medium changes made from outside the drive, and
// the text configuration as the bus presents it.
#include "vrec_test_support.h"

#include "vrec/config.h"
#include "vrec/disc_store.h"

namespace tarvo::vrec::testing {
namespace {

TEST(DiscStoreTest, MetadataRoundTripsAndRejectsDamage) {
  StoreState state;
  state.disc = Disc::Blank(MediaKind::CdRw);
  state.disc.Record(0, 10, 6);
  state.disc.CloseSession(true);
  state.loaded = false;
  state.stamp = 42;
  std::string text = FormatMetadata(state);
  StoreState back;
  ASSERT_TRUE(ParseMetadata(text, &back));
  EXPECT_EQ(FormatMetadata(back), text);
  EXPECT_EQ(back.disc.NextWritableAddress(), 300 + 11400);

  std::string cut = text.substr(0, text.size() - 4);  // no "end" line: a torn write
  EXPECT_FALSE(ParseMetadata(cut, &back));
  std::string bad = text;
  bad.replace(bad.find("cdrw"), 4, "dvd9");
  EXPECT_FALSE(ParseMetadata(bad, &back));
  EXPECT_FALSE(ParseMetadata("", &back));
}

TEST(DiscStoreTest, SectorsLieAtTheirAbsoluteAddress) {
  TempFolder temp;
  fs::path disc = temp.path() / "d.img";
  auto store = CreateDisc(disc, MediaKind::CdR80, {}, nullptr);
  ASSERT_NE(store, nullptr);
  std::vector<uint8_t> sector(2048, 0x5A);
  ASSERT_TRUE(store->WriteSectors(11700, 1, sector.data()));
  store->Flush();
  EXPECT_EQ(fs::file_size(disc), 11701u * 2048);
  std::string bytes = ReadFile(disc);
  EXPECT_EQ(bytes[11700 * 2048], 0x5A);
  EXPECT_FALSE(fs::exists(temp.path() / "d.img.meta.tmp")) << "the temporary file is renamed";
}

class MediumChangeTest : public RecorderTest {};

TEST_F(MediumChangeTest, DriveSeesADiscReplacedOrEjectedFromOutside) {
  RecordSession(10, true);
  ASSERT_EQ(DiscInfo()[4], 2);
  ASSERT_NE(CreateDisc(discPath_, MediaKind::CdRw, {}, nullptr), nullptr);
  Reply disc = DiscInfo();
  EXPECT_EQ(disc[2], 0x10) << "a blank CD-RW arrived";
  EXPECT_EQ(disc[4], 1);

  auto other = DiscStore::Open(discPath_, nullptr);
  ASSERT_NE(other, nullptr);
  other->set_loaded(false);
  ASSERT_TRUE(other->Save());
  EXPECT_EQ(SenseText(TestUnitReady().sense), "2/3A/00");
  other->set_loaded(true);
  ASSERT_TRUE(other->Save());
  EXPECT_EQ(TestUnitReady().status, 0);
  fs::remove(MetadataPath(discPath_));
  EXPECT_EQ(SenseText(TestUnitReady().sense), "2/3A/00") << "disc removed";
}

TEST_F(MediumChangeTest, EjectIsRecordedInTheStore) {
  ASSERT_EQ(StartStop(0x02).status, 0);
  auto store = DiscStore::Open(discPath_, nullptr);
  ASSERT_NE(store, nullptr);
  EXPECT_FALSE(store->loaded());
}

TEST(BusConfigTest, PresentsAdaptersTargetsAndDeviceTypes) {
  TempFolder temp;
  std::string error;
  auto bus = InProcessBus::FromText(
      "# two adapters, the second one empty\n"
      "[adapter 0]\ntargets = 8\n[adapter 1]\ntargets = 0\n"
      "[device 0:1:0]\ndisc = a.img\nmedia = cdr80\n"
      "[device 0:2:0]\ntype = 4\n"
      "[device 0:3:1]\ndisc = b.img\nmedia = cdrw\nmirror = mirror-b\n",
      temp.path(), &error);
  ASSERT_NE(bus, nullptr) << error;
  EXPECT_EQ(bus->AdapterCount(), 2);
  EXPECT_EQ(bus->MaxTargets(0), 8);
  EXPECT_EQ(bus->MaxTargets(1), 0);
  EXPECT_EQ(bus->MaxTargets(2), -1);
  EXPECT_EQ(bus->DeviceType({0, 1, 0}), 5);
  EXPECT_EQ(bus->DeviceType({0, 2, 0}), 4);
  EXPECT_EQ(bus->DeviceType({0, 3, 1}), 5);
  EXPECT_EQ(bus->DeviceType({0, 3, 0}), -1);
  uint8_t tur[10] = {};
  EXPECT_EQ(bus->Execute({0, 4, 0}, tur, DataDirection::None, nullptr, 0, WaitPolicy::Bounded, {}),
            kStatusNoDevice);
  EXPECT_TRUE(fs::exists(temp.path() / "a.img.meta"));
  EXPECT_TRUE(fs::is_directory(temp.path() / "mirror-b"));
}

TEST(BusConfigTest, ErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"[device 0:1]\n", "line 1: bad device address (adapter:target:lun)"},
      {"[device 0:1:0]\nmedia = dvd\n", "line 2: bad setting media = dvd"},
      {"[device 0:1:0]\nfault-never-finish = frobnicate\n", "line 2: bad setting fault-never-finish = frobnicate"},
      {"[adapter 0]\ntargets = 2\n[device 0:5:0]\n", "device beyond its adapter's targets"},
      {"colour = blue\n", "line 1: bad setting colour = blue"},
      {"[device 0:1:0]\n[device 0:1:0]\n", "line 2: device declared twice"},
  };
  for (const Case& c : cases) {
    BusConfig config;
    std::string error;
    EXPECT_FALSE(ParseBusConfig(c.text, "/tmp", &config, &error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
}

TEST(BusConfigTest, ReadsEveryDeviceSetting) {
  BusConfig config;
  std::string error;
  ASSERT_TRUE(ParseBusConfig("time-scale = 0.5\ntrace = t.log\n[device 0:1:0]\n"
                             "write-cdrw = no\nmax-write-speed = 1760\nbuffer-kb = 512\nblock-descriptor = yes\n"
                             "fault-write-at = 100\nfault-never-finish = blank 2A\nfault-capabilities = ps\n"
                             "[device 0:2:0]\ntime-scale = 2\n",
                             "/base", &config, &error))
      << error;
  const DeviceConfig& d = config.devices[0].config;
  EXPECT_EQ(config.tracePath, "/base/t.log");
  EXPECT_DOUBLE_EQ(d.timeScale, 0.5);
  EXPECT_DOUBLE_EQ(config.devices[1].config.timeScale, 2.0);
  EXPECT_FALSE(d.capabilities.writeCdRw);
  EXPECT_EQ(d.capabilities.maxWriteSpeedKBps, 1760);
  EXPECT_EQ(d.capabilities.bufferKB, 512);
  EXPECT_TRUE(d.capabilities.blockDescriptor);
  EXPECT_EQ(d.faults.writeFailsAt, 100);
  EXPECT_TRUE(d.faults.NeverFinishes(0xA1));
  EXPECT_TRUE(d.faults.NeverFinishes(0x2A));
  EXPECT_FALSE(d.faults.NeverFinishes(0x28));
  EXPECT_EQ(d.faults.capabilities, PageFault::PsFlagged);
}

}  // namespace
}  // namespace tarvo::vrec::testing
