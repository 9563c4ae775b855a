#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/limits.h"
#include "model/window_handle.h"

namespace tarn {

inline constexpr int kImageSize = 2048;  // radio addresses 0x1800..0x1FFF
inline constexpr int kSlotSize = 8;      // ChannelSlot of channel n at image byte 8n
inline constexpr int kSerializedClientSize = 10257;

// Bits of image byte 0.
namespace ClientOption {
inline constexpr int ModeToggle = 0x01;
inline constexpr int PowerToggle = 0x02;
inline constexpr int PowerLevel = 0x0C;  // two-bit field, values below
inline constexpr int AutoTune = 0x10;
inline constexpr int BaseMaster = 0x20;
inline constexpr int FrontPanelProgramming = 0x40;
inline constexpr int Advanced = 0x80;
}  // namespace ClientOption

namespace PowerLevel {
inline constexpr int Low = 0;
inline constexpr int Mid1 = 4;
inline constexpr int Mid2 = 8;
inline constexpr int High = 12;
}  // namespace PowerLevel

// Bits of slot byte 0.
namespace ChannelFlag {
inline constexpr int Alarm = 0x01;
inline constexpr int Selcall = 0x02;
inline constexpr int Scan = 0x04;
inline constexpr int Usb = 0x08;
inline constexpr int TxEqualsRx = 0x10;
}  // namespace ChannelFlag

using RadioImage = std::array<std::uint8_t, kImageSize>;

// Why an edit of a channel is refused; None when it is accepted.
enum class ChannelRefusal { None, Receive, Transmit, NumberOutOfRange, NumberInUse, ScanListFull };
// The message that tells the user (empty for None).
std::string channelRefusalText(ChannelRefusal refusal);

// A channel as the edit channel dialog collects it: frequencies as typed in kHz, the
// label as 8-bit text.
struct ChannelEntry {
    std::string rx, tx;
    bool scan = false, selcall = false, usb = false;
    std::string label;
};

// One customer's radio configuration: the radio's memory image byte for byte, plus
// what the radio does not hold (name, serial, channel labels). Fixed size, no pointers.
// Integer results follow the house rule: non-zero success, 0 refusal, -1 "no number".
class ClientRecord {
  public:
    ClientRecord();  // the new-client defaults
    // A client deserialised from 10257 bytes in one step (what a default client followed
    // by deserialize gives, without writing the storage twice); null bytes give a default
    // client.
    explicit ClientRecord(const std::uint8_t* serialized);
    virtual ~ClientRecord() = default;
    ClientRecord(const ClientRecord&) = default;
    ClientRecord& operator=(const ClientRecord&) = default;

    // Identity and options (texts are 8-bit, NUL-terminated).
    int setName(const char* text);
    int getName(char* buffer, int capacity) const;
    int setSerial(const char* text);
    int getSerial(char* buffer, int capacity) const;
    int setSelcall(const char* text);
    int getSelcall(char* buffer, int capacity) const;
    int setOption(int mask, int value);
    int getOption(int mask) const;

    // The 10257-byte serialised client and the radio image.
    int serialize(std::uint8_t* buffer, int capacity) const;
    int deserialize(const std::uint8_t* bytes, int size);
    // The same client as the constructor from serialised bytes, on the heap.
    static std::unique_ptr<ClientRecord> fromSerialized(const std::uint8_t* bytes);
    int loadImage(const std::uint8_t* bytes, int length);
    int copyImage(std::uint8_t* buffer, int capacity) const;

    // Channel table (numbers: only the low 8 bits count, 0 is refused).
    int isChannelFree(int n) const;
    int hasNoChannels() const;
    std::uint32_t getFrequency(int n, int which) const;  // which: 0 RX, non-zero TX
    int setFrequency(int n, int which, std::uint32_t value);
    int getChannelFlag(int n, int mask) const;
    int setChannelFlag(int n, int mask, int value);
    int getLabel(int n, char* buffer, int capacity) const;
    int setLabel(int n, const char* text);
    int deleteChannel(int n);
    int addChannel();
    void validateChannels();
    int editChannel(int n, WindowHandle parent);

    // Clipboard exchange of channels (the edit client dialog's Copy and Paste).
    int copyChannels(WindowHandle window, const std::uint8_t* numbers, std::uint16_t length);
    int pasteChannels(WindowHandle window);

    // Working state for the edit channel dialog.
    std::uint8_t currentChannel() const { return currentChannel_; }
    void setCurrentChannel(std::uint8_t n) { currentChannel_ = n; }

    // The rules of the edit channel dialog, which works on the current channel.
    // A typed frequency: RX from 500.0, TX from 1800.0, both below 30000.0 kHz.
    static ChannelRefusal checkFrequency(int which, std::string_view typed);
    // A valid RX that is also a valid TX is copied into the TX field as typed.
    static bool rxCopiesToTx(std::string_view typed);
    // A new number for the current channel (the current number itself is accepted).
    ChannelRefusal checkChannelNumber(unsigned wanted) const;
    // Moves the current channel's slot to number n, which becomes the current channel;
    // labels stay with their numbers. 0 when checkChannelNumber refuses n.
    int moveChannel(unsigned n);
    // Ticking Scan on the current channel, whose own stored flag counts too.
    ChannelRefusal checkScanTick() const;
    // Stores the entry in the current channel: both frequencies checked again, TxEqualsRx
    // when they are equal as numbers; a standard client's channel loses Scan and Selcall.
    // Changes nothing when a frequency is refused.
    ChannelRefusal storeChannel(const ChannelEntry& entry);

    // Raw storage, for tests and for equality. Changing bytes here bypasses validation, as a
    // channel paste does.
    RadioImage& image() { return image_; }
    const RadioImage& image() const { return image_; }
    std::uint8_t* labelBytes(int n);              // the 32 bytes of channel n (1..255)
    const std::uint8_t* labelBytes(int n) const;  // the 32 bytes of channel n (1..255)
    std::uint8_t reservedByte() const { return reservedByte_; }

    bool operator==(const ClientRecord& other) const;  // stored fields only

  private:
    std::uint8_t currentChannel_ = 1;
    std::uint8_t reservedByte_ = 0;
    // The default constructor zeroes these; the one from serialised bytes fills them.
    void fill(const std::uint8_t* serialized);  // every stored field, then the channel check
    // The channel check of an image read from `from` (which may be the image itself) into
    // the image, in one pass.
    void loadCheckedImage(const std::uint8_t* from);
    RadioImage image_;
    std::array<std::uint8_t, kChannelCount * kLabelSize> labels_;
    std::array<char, kNameSize> name_;
    std::array<char, kSerialSize + 1> serial_;
};

}  // namespace tarn
