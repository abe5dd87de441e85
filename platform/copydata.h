#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// One copy-data message from another process: a tag, the bytes, and the byte count the sender
// claimed for them.
struct CopyDataRecord {
    uint32_t tag = 0;
    QByteArray bytes;
    uint32_t byteCount = 0;
};

// The tag of a text the program shows in a warning box.
constexpr uint32_t kCopyDataTextTag = 9487;
// The tag of a control message for the virtual mouse of the demo ("unplug", "plug", "dpi 3", …).
constexpr uint32_t kCopyDataVirtualMouseTag = 0x4D56;

// The text of a message meant to be shown: the tag is kCopyDataTextTag, the bytes up to the first
// zero byte (at most byteCount of them) are valid UTF-8, and their length equals byteCount.
// Anything else gives no text.
std::optional<QString> copyDataText(const CopyDataRecord& record);
