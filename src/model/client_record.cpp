// The client record: identity texts, option byte, selcall and the serialised client.
#include "model/client_record.h"

#include <algorithm>
#include <cstring>

namespace tarn {
namespace {

// The serialised client, 10257 bytes, no header and no gaps:
//
// | offset | size | field                                  |
// |--------|------|----------------------------------------|
// | 0      | 32   | name, all 32 bytes as held             |
// | 32     | 16   | serial, all 16 bytes as held           |
// | 48     | 1    | reserved byte                          |
// | 49     | 8160 | labels, channel 1 first                |
// | 8209   | 2048 | radio image                            |
constexpr int kNameOffset = 0;
constexpr int kSerialOffset = 32;
constexpr int kReservedOffset = 48;
constexpr int kLabelsOffset = 49;
constexpr int kImageOffset = 8209;
static_assert(kImageOffset + kImageSize == kSerializedClientSize);

// Image header (bytes 0..7): option byte, 4 reserved, selcall BCD in 5 and 6, 1 reserved.
constexpr int kOptionByte = 0;
constexpr int kSelcallHigh = 5;
constexpr int kSelcallLow = 6;
constexpr std::uint8_t kNewClientHeader[8] = {0xCD, 0x00, 0x77, 0xFF, 0xFF, 0x12, 0x34, 0xFF};

// Length of a NUL-terminated text, looking at no more than `limit` bytes.
int boundedLength(const char* text, int limit) {
    const void* end = std::memchr(text, 0, static_cast<std::size_t>(limit));
    return end ? static_cast<int>(static_cast<const char*>(end) - text) : limit;
}

// Stores a text of fewer than `size` characters with its NUL, zeroing the rest.
int storeText(char* field, int size, const char* text) {
    if (!text) return 0;
    int length = boundedLength(text, size);
    if (length >= size) return 0;
    std::memset(field, 0, static_cast<std::size_t>(size));
    std::memcpy(field, text, static_cast<std::size_t>(length));
    return 1;
}

// Copies a text with its NUL; 0 and nothing copied when it does not fit (or is empty).
int fetchText(const char* field, int size, char* buffer, int capacity) {
    int length = boundedLength(field, size);
    if (!buffer || length >= capacity) return 0;
    std::memcpy(buffer, field, static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Nibbles 0..8 show as that digit; 9..15 all show as 9.
char selcallDigit(int nibble) {
    return static_cast<char>('0' + std::min(nibble, 9));
}

}  // namespace

ClientRecord::ClientRecord() : image_{}, labels_{}, name_{}, serial_{} {
    std::copy(std::begin(kNewClientHeader), std::end(kNewClientHeader), image_.begin());
    storeText(name_.data(), kNameSize, "New Client");
    storeText(serial_.data(), kSerialSize, "0");
}

int ClientRecord::setName(const char* text) {
    return storeText(name_.data(), kNameSize, text);
}

int ClientRecord::getName(char* buffer, int capacity) const {
    return fetchText(name_.data(), kNameSize, buffer, capacity);
}

int ClientRecord::setSerial(const char* text) {
    return storeText(serial_.data(), kSerialSize, text);
}

int ClientRecord::getSerial(char* buffer, int capacity) const {
    // A deserialised serial may fill all 16 bytes; byte 17 is always NUL.
    return fetchText(serial_.data(), kSerialSize + 1, buffer, capacity);
}

int ClientRecord::setSelcall(const char* text) {
    if (!text) return 0;
    for (int i = 0; i < 4; ++i) {
        if (!isDigit(text[i])) return 0;  // also stops at a NUL before the fourth
    }
    image_[kSelcallHigh] = static_cast<std::uint8_t>(((text[0] & 0x0F) << 4) | (text[1] & 0x0F));
    image_[kSelcallLow] = static_cast<std::uint8_t>(((text[2] & 0x0F) << 4) | (text[3] & 0x0F));
    return 1;
}

int ClientRecord::getSelcall(char* buffer, int capacity) const {
    if (!buffer || capacity < 5) return 0;
    buffer[0] = selcallDigit(image_[kSelcallHigh] >> 4);
    buffer[1] = selcallDigit(image_[kSelcallHigh] & 0x0F);
    buffer[2] = selcallDigit(image_[kSelcallLow] >> 4);
    buffer[3] = selcallDigit(image_[kSelcallLow] & 0x0F);
    buffer[4] = '\0';
    return 5;
}

int ClientRecord::setOption(int mask, int value) {
    const int bits = mask & 0xFF;
    const int level = value & 0xFF;
    std::uint8_t& options = image_[kOptionByte];
    switch (bits) {
        case ClientOption::ModeToggle:
        case ClientOption::PowerToggle:
        case ClientOption::AutoTune:
        case ClientOption::BaseMaster:
        case ClientOption::FrontPanelProgramming:
        case ClientOption::Advanced:
            options = static_cast<std::uint8_t>((options & ~bits) | (level ? bits : 0));
            return 1;
        case ClientOption::PowerLevel:
            // Only Low and High can be chosen; Mid1 and Mid2 arrive with an image.
            if (level != PowerLevel::Low && level != PowerLevel::High) return 0;
            options = static_cast<std::uint8_t>((options & ~bits) | level);
            return 1;
        default:
            return 0;
    }
}

int ClientRecord::getOption(int mask) const {
    return image_[kOptionByte] & mask & 0xFF;
}

int ClientRecord::serialize(std::uint8_t* buffer, int capacity) const {
    if (!buffer || capacity < kSerializedClientSize) return 0;
    std::memcpy(buffer + kNameOffset, name_.data(), kNameSize);
    std::memcpy(buffer + kSerialOffset, serial_.data(), kSerialSize);
    buffer[kReservedOffset] = reservedByte_;
    std::memcpy(buffer + kLabelsOffset, labels_.data(), labels_.size());
    std::memcpy(buffer + kImageOffset, image_.data(), kImageSize);
    return kSerializedClientSize;
}

// The stored fields are left uninitialised here: fill writes every one of them.
ClientRecord::ClientRecord(const std::uint8_t* serialized) {
    if (serialized) {
        fill(serialized);
    } else {
        *this = ClientRecord();
    }
}

std::unique_ptr<ClientRecord> ClientRecord::fromSerialized(const std::uint8_t* bytes) {
    return std::make_unique<ClientRecord>(bytes);
}

int ClientRecord::deserialize(const std::uint8_t* bytes, int size) {
    if (!bytes || size != kSerializedClientSize) return 0;
    fill(bytes);
    return 1;
}

void ClientRecord::fill(const std::uint8_t* bytes) {
    std::memcpy(name_.data(), bytes + kNameOffset, kNameSize);
    name_[kNameSize - 1] = '\0';
    std::memcpy(serial_.data(), bytes + kSerialOffset, kSerialSize);
    serial_[kSerialSize] = '\0';
    reservedByte_ = bytes[kReservedOffset];
    std::memcpy(labels_.data(), bytes + kLabelsOffset, labels_.size());
    loadCheckedImage(bytes + kImageOffset);
}

int ClientRecord::loadImage(const std::uint8_t* bytes, int length) {
    if (length < 0 || length > kImageSize || (!bytes && length > 0)) return 0;
    if (length > 0) std::memcpy(image_.data(), bytes, static_cast<std::size_t>(length));
    validateChannels();
    return 1;
}

int ClientRecord::copyImage(std::uint8_t* buffer, int capacity) const {
    if (!buffer) return kImageSize;
    if (capacity < kImageSize) return 0;
    std::memcpy(buffer, image_.data(), kImageSize);
    return kImageSize;
}

std::uint8_t* ClientRecord::labelBytes(int n) {
    return labels_.data() + kLabelSize * (std::clamp(n, 1, kChannelCount) - 1);
}

const std::uint8_t* ClientRecord::labelBytes(int n) const {
    return labels_.data() + kLabelSize * (std::clamp(n, 1, kChannelCount) - 1);
}

bool ClientRecord::operator==(const ClientRecord& other) const {
    return reservedByte_ == other.reservedByte_ && image_ == other.image_ &&
           labels_ == other.labels_ && name_ == other.name_ && serial_ == other.serial_;
}

}  // namespace tarn
