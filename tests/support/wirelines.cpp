#include "wirelines.h"

#include "emulator/wiretrace.h"

namespace wire {

namespace {
QByteArray frame(std::initializer_list<int> bytes)
{
    QByteArray f(1, '\0'); // report id
    int sum = 0;
    for (int b : bytes) {
        f.append(char(b));
        sum += b;
    }
    f.resize(8, '\0');
    f.append(char(~sum & 0xFF));
    return f;
}
} // namespace

QString feature(std::initializer_list<int> b0to6)
{
    return QStringLiteral("feature> ") + WireTrace::hex(frame(b0to6));
}

QString answer(std::initializer_list<int> a0to6)
{
    return QStringLiteral("feature< ") + WireTrace::hex(frame(a0to6));
}

QStringList settle()
{
    return {QStringLiteral("wait 64"), QStringLiteral("wait 64")};
}

QStringList out(const QByteArray& block, int reportLength)
{
    QStringList lines;
    const int chunk = qMin(int(block.size()), reportLength);
    for (int offset = 0; offset < block.size(); offset += chunk) {
        QByteArray report(1, '\0');
        report += block.mid(offset, chunk);
        report.resize(reportLength + 1, '\0');
        lines << QStringLiteral("out> ") + WireTrace::hex(report) << QStringLiteral("wait 120");
    }
    return lines;
}

QStringList in(const QByteArray& block, int reportLength)
{
    QStringList lines;
    for (int offset = 0; offset < block.size(); offset += reportLength)
        lines << QStringLiteral("in< ") + WireTrace::hex(block.mid(offset, reportLength));
    return lines;
}

QStringList blockCommand(std::initializer_list<int> b0to6, const QByteArray& block,
                         int reportLength)
{
    return QStringList{feature(b0to6)} + settle() + out(block, reportLength) + settle();
}

} // namespace wire
