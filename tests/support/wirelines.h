#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <initializer_list>

// The lines a virtual mouse's wire trace shows for a command, built independently of the device
// link: a test states the bytes and waits it expects with these.
namespace wire {

// "feature> 00 0b 03 00 00 00 00 00 f1" for a plain command b0 … b6 and its checksum.
QString feature(std::initializer_list<int> b0to6);
// "feature< …" for an answer a0 … a6 with the checksum the mouse puts in a7.
QString answer(std::initializer_list<int> a0to6);
// The 128 ms settle delay: two waits of 64.
QStringList settle();
// The output reports of a host-to-device block, each followed by its 120 ms pause.
QStringList out(const QByteArray& block, int reportLength = 32);
// The input reports of a device-to-host block.
QStringList in(const QByteArray& block, int reportLength = 32);
// A command with a block: frame, settle, the block, settle.
QStringList blockCommand(std::initializer_list<int> b0to6, const QByteArray& block,
                         int reportLength = 32);

} // namespace wire
