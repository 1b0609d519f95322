#include "drive/capabilities.h"

#include <memory>
#include <new>

#include "drive/byte_reader.h"
#include "drive/command_set.h"
#include "drive/mode_pages.h"
#include "drive/text_format.h"

namespace tarvo {
namespace {

struct FlagLine {
  uint8_t byte;
  uint8_t bit;
  const char* format;
};

// Page bytes 2-7: read, write and mechanism capability bits.
constexpr FlagLine kFlagLines[] = {
    {2, 0, "Can read CD-R: %s\r\n"},
    {2, 1, "Can read CD-RW: %s\r\n"},
    {2, 2, "Can read method 2: %s\r\n"},
    {3, 0, "Can write CD-R: %s\r\n"},
    {3, 1, "Can write CD-RW: %s\r\n"},
    {3, 2, "Can write test write: %s\r\n"},
    {4, 0, "Can play Audio: %s\r\n"},
    {4, 1, "Is capable of delivering a composite Audio and Video data stream: %s\r\n"},
    {4, 2, "Is supports digital output (IEC 958) on port 1: %s\r\n"},
    {4, 3, "Is supports digital output (IEC 958) on port 2: %s\r\n"},
    {4, 4, "Is capable of reading sectors in Mode 2 Form 1 (XA) format: %s\r\n"},
    {4, 5, "Is capable of reading sectors in Mode 2 Form 2 format: %s\r\n"},
    {4, 6, "Is capable of reading multi-session discs: %s\r\n"},
    {5, 0, "Can audio can be read using the READ CD command: %s\r\n"},
    {5, 1, "Is supports an advanced feature that allows it to return to an audio location "
           "without losing place to continue the READ CD command: %s\r\n"},
    {5, 2, "Indicates the commands that return Sub-channel data can return the combined R-W "
           "information: %s\r\n"},
    {5, 3, "Indicates that the R-W sub-channel data will be returned de-interleaved and error "
           "corrected: %s\r\n"},
    {5, 4, "Indicates that the drive supports the C2 Error Pointers. This also indicates that "
           "the drive is capable of returning the C2 Error Pointers and C2 Block Error bits in "
           "the READ CD command: %s\r\n"},
    {5, 5, "Indicates the drive can return the International Standard Recording Code "
           "Information: %s\r\n"},
    {5, 6, "The drive can return the Media Catalog Number (UPC): %s\r\n"},
    {5, 7, "Indicates the device supports reading disc bar codes: %s\r\n"},
    {6, 0, "Indicates the PREVENT/ALLOW command is capable of actually locking the media into "
           "the drive: %s\r\n"},
    {6, 1, "Indicates the current state of the drive: %s\r\n"},
    {6, 2, "Indicates the state of the (Optional) Prevent/Allow Jumper: %s\r\n"},
    {6, 3, "Can eject the disc via the normal START/STOP command with the LoEj bit set. If the "
           "mechanism is a Changer that uses a cartridge, then this bit indicates that the "
           "cartridge can be ejected: %s\r\n"},
    {7, 0, "Indicates the audio level for each channel can be controlled independently: %s\r\n"},
    {7, 1, "Indicates the mute capability for each channel can be controlled independently: "
           "%s\r\n"},
    {7, 2, "Indicates that the Device contains an embedded changer, and that after a reset "
           "condition or if a cartridge is change, it can report the exact contents of the "
           "slots. The response to the MECHANISM STATUS command will contain valid Disc is "
           "Present status information for all slots: %s\r\n"},
    {7, 3, "Controls the behavior of the LOAD/UNLOAD command when trying to load a Slot with no "
           "Disc present: %s\r\n"},
};

// Byte 17: the digital audio output format bits.
constexpr FlagLine kDigitalOutputLines[] = {
    {17, 1, "BCKF Set if data valid on the falling edge of the BCK signal. Clear if data valid "
            "on rising edge of the BCK signal: %s\r\n"},
    {17, 2, "RCK Set if HIGH on LRCK indicates left channel. Clear if HIGH on LRCK indicates "
            "right channel: %s\r\n"},
    {17, 3, "LSBF Set if LSB first. Clear if MSB first: %s\r\n"},
};

void AppendFlags(std::string& text, ByteReader& page, const FlagLine* begin, const FlagLine* end) {
  for (const FlagLine* line = begin; line != end; ++line) {
    text += Format(line->format, page.Bit(line->byte, line->bit) ? "YES" : "NO");
  }
}

unsigned long SpeedX(uint16_t kilobytesPerSecond) { return kilobytesPerSecond / 176u; }

}  // namespace

WriteCapabilities DecodeWriteCapabilities(const uint8_t* data, size_t available) {
  ByteReader page(data, available);
  WriteCapabilities out;
  out.canWriteCdR = page.Bit(3, 0);
  out.canWriteCdRw = page.Bit(3, 1);
  out.maxWriteSpeedKBps = page.Be16(18);
  return out;
}

std::string FormatCapabilitiesReport(const uint8_t* data, size_t available) {
  ByteReader page(data, available);
  std::string text;
  AppendFlags(text, page, std::begin(kFlagLines), std::end(kFlagLines));
  text += Format("Number of Volume Levels Supported: %d KiloBytes/second\r\n", page.Be16(10));
  text += Format("Buffer Size supported by Drive (in KBytes): %d KiloBytes/second\r\n",
                 page.Be16(12));
  const uint16_t maxRead = page.Be16(8);
  const uint16_t currentRead = page.Be16(14);
  const uint16_t maxWrite = page.Be16(18);
  const uint16_t currentWrite = page.Be16(20);
  text += Format("\r\nMaximum Read Speed Supported (in kBps): %d [%lu X] KiloBytes/second\r\n",
                 maxRead, SpeedX(maxRead));
  text += Format("Current Read Speed Selected (in kBps): %d [%lu X] KiloBytes/second\r\n",
                 currentRead, SpeedX(currentRead));
  text += Format("Maximum Write Speed Supported (in kBps): %d [%lu X] KiloBytes/second\r\n",
                 maxWrite, SpeedX(maxWrite));
  text += Format("Current Write Speed Selected (in kBps): %d [%lu X] KiloBytes/second\r\n\r\n",
                 currentWrite, SpeedX(currentWrite));
  AppendFlags(text, page, std::begin(kDigitalOutputLines), std::end(kDigitalOutputLines));
  // Bits 5-4 of byte 17: length in BCKs, 11b meaning 24 BCKs in I2S format.
  switch ((page.U8(17) >> 4) & 0x03) {
    case 0: text += Format("Digital format of the drive: %d BCKs\r\n", 32); break;
    case 1: text += Format("Digital format of the drive: %d BCKs\r\n", 16); break;
    case 2: text += Format("Digital format of the drive: %d BCKs\r\n", 24); break;
    default: text += "Digital format of the drive: 24 BCKs (I 2 S)\r\n"; break;
  }
  return text;
}

int QueryCapabilities(DriveAccess& access, bool show, int drive) {
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kModeSenseBufferSize]());
  if (!buffer) return 0;
  const ModePageLocation location = ModeSense10(access, buffer.get(), kCapabilitiesPage, drive);
  if (location) {
    const uint8_t* page = buffer.get() + location.offset;
    const size_t available = kModeSenseBufferSize - location.offset;
    if (show) {
      access.ui.SetInfoText(FormatCapabilitiesReport(page, available));
    } else {
      const WriteCapabilities fields = DecodeWriteCapabilities(page, available);
      CdDrive& entry = access.drives[static_cast<size_t>(drive)];
      entry.canWriteCdR = fields.canWriteCdR;
      entry.canWriteCdRw = fields.canWriteCdRw;
      entry.maxWriteSpeedKBps = fields.maxWriteSpeedKBps;
    }
  }
  return 1;
}

}  // namespace tarvo
