// Factory state of the virtual mouse and its memory file.

#include "virtualmouse_p.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cctype>

using Memory = VirtualMouse::Memory;
using Family = VirtualMouse::Family;

namespace {

// Sensor codes of 400, 800, 1600, 3200, 4800, 6400, 8000 and 12000 DPI (value / 100 − 1).
constexpr std::array<uint8_t, 8> kFactoryDpiCodes = {3, 7, 15, 31, 47, 63, 79, 119};

QByteArray factoryProfileBlock(int n)
{
    // A recognisable pattern, so that bytes nobody writes can be traced through a round trip.
    QByteArray block(128, '\0');
    for (int i = 0; i < 128; ++i)
        block[i] = char((n * 37 + i * 11) & 0xff);
    if (n == 0)
        return block;       // the common block carries no profile settings
    block[71] = 1;          // lighting: static
    block[72] = char(0xff); // full brightness
    block[73] = 2;
    for (int s = 0; s < 8; ++s) {
        block[84 + s] = char(kFactoryDpiCodes[size_t(s)]);
        block[92 + s] = char(kFactoryDpiCodes[size_t(s)]);
    }
    block[100] = 0x0f; // stages 1 to 4 in use
    return block;
}

QString familyName(Family f)
{
    return f == Family::F560 ? QStringLiteral("560") : QStringLiteral("553");
}

QString hexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

template<size_t N> QString hexText(const std::array<uint8_t, N>& bytes)
{
    return hexText(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(N)));
}

QJsonObject mapToJson(const QMap<int, QByteArray>& map)
{
    QJsonObject o;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        o.insert(QString::number(it.key()), hexText(it.value()));
    return o;
}

// Readers: each returns false on anything it does not accept, leaving *out unspecified.

bool readHex(const QJsonValue& v, QByteArray* out)
{
    if (!v.isString())
        return false;
    const QByteArray text = v.toString().toLatin1();
    if (text.size() % 2 != 0)
        return false;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    *out = QByteArray::fromHex(text);
    return true;
}

template<size_t N> bool readArray(const QJsonValue& v, std::array<uint8_t, N>* out)
{
    QByteArray bytes;
    if (!readHex(v, &bytes) || bytes.size() != qsizetype(N))
        return false;
    for (size_t i = 0; i < N; ++i)
        (*out)[i] = uint8_t(bytes[qsizetype(i)]);
    return true;
}

bool readByte(const QJsonValue& v, uint8_t* out)
{
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (d < 0 || d > 255 || d != int(d))
        return false;
    *out = uint8_t(d);
    return true;
}

bool readMap(const QJsonValue& v, QMap<int, QByteArray>* out)
{
    if (!v.isObject())
        return false;
    const QJsonObject o = v.toObject();
    out->clear();
    for (auto it = o.begin(); it != o.end(); ++it) {
        bool ok = false;
        const int key = it.key().toInt(&ok);
        QByteArray bytes;
        if (!ok || !readHex(it.value(), &bytes))
            return false;
        out->insert(key, bytes);
    }
    return true;
}

QJsonObject toJson(const Memory& m, Family family)
{
    QJsonArray blocks;
    for (const QByteArray& b : m.profileBlocks)
        blocks.append(hexText(b));
    return QJsonObject{
        {QStringLiteral("family"), familyName(family)},
        {QStringLiteral("keyMatrices"), mapToJson(m.keyMatrices)},
        {QStringLiteral("macros"), mapToJson(m.macros)},
        {QStringLiteral("reportRate"), m.reportRate},
        {QStringLiteral("currentKeyMatrix"), m.currentKeyMatrix},
        {QStringLiteral("options"), hexText(m.options)},
        {QStringLiteral("gunData"), hexText(m.gunData)},
        {QStringLiteral("currentDpi"), m.currentDpi},
        {QStringLiteral("ledEffect"), hexText(m.ledEffect)},
        {QStringLiteral("ledColors"), mapToJson(m.ledColors)},
        {QStringLiteral("dpiSets"), mapToJson(m.dpiSets)},
        {QStringLiteral("options560"), hexText(m.options560)},
        {QStringLiteral("currentProfile"), m.currentProfile},
        {QStringLiteral("reportRates"), hexText(m.reportRates)},
        {QStringLiteral("currentDpis"), hexText(m.currentDpis)},
        {QStringLiteral("profileBlocks"), blocks},
    };
}

bool fromJson(const QJsonObject& o, Family family, Memory* out)
{
    if (o.value(QStringLiteral("family")).toString() != familyName(family))
        return false;
    Memory m;
    const QJsonArray blocks = o.value(QStringLiteral("profileBlocks")).toArray();
    if (blocks.size() != qsizetype(m.profileBlocks.size()))
        return false;
    for (size_t i = 0; i < m.profileBlocks.size(); ++i) {
        if (!readHex(blocks[qsizetype(i)], &m.profileBlocks[i]))
            return false;
    }
    const auto v = [&o](const char* key) { return o.value(QLatin1String(key)); };
    const bool ok =
        readMap(v("keyMatrices"), &m.keyMatrices) && readMap(v("macros"), &m.macros) &&
        readByte(v("reportRate"), &m.reportRate) &&
        readByte(v("currentKeyMatrix"), &m.currentKeyMatrix) &&
        readArray(v("options"), &m.options) && readArray(v("gunData"), &m.gunData) &&
        readByte(v("currentDpi"), &m.currentDpi) && readArray(v("ledEffect"), &m.ledEffect) &&
        readMap(v("ledColors"), &m.ledColors) && readMap(v("dpiSets"), &m.dpiSets) &&
        readArray(v("options560"), &m.options560) &&
        readByte(v("currentProfile"), &m.currentProfile) &&
        readArray(v("reportRates"), &m.reportRates) && readArray(v("currentDpis"), &m.currentDpis);
    if (!ok)
        return false;
    *out = m;
    return true;
}

} // namespace

VirtualMouse::Memory VirtualMouse::factoryMemory(Family family)
{
    Memory m;
    if (family == Family::F560) {
        for (int n = 0; n < 5; ++n)
            m.profileBlocks[size_t(n)] = factoryProfileBlock(n);
        m.currentProfile = 1;
        m.reportRates = {0, 1, 1, 1, 1}; // 1000 Hz
        m.currentDpis = {0, 1, 1, 1, 1};
        return m;
    }
    m.reportRate = 1; // 1000 Hz
    m.currentKeyMatrix = 1;
    m.currentDpi = 1;
    m.ledEffect = {1, 0xff, 0}; // static, full brightness
    QByteArray stages(8, char(0x80));
    for (int s = 0; s < 4; ++s)
        stages[s] = char(kFactoryDpiCodes[size_t(s)]);
    m.dpiSets.insert(4, stages);
    // Every 560 block exists on a 553 as well, so that a block read never meets a hole.
    for (QByteArray& b : m.profileBlocks)
        b = QByteArray(128, '\0');
    return m;
}

bool VirtualMouse::saveMemory(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(toJson(memory(), config_.family)).toJson());
    return file.commit();
}

bool VirtualMouse::loadMemory(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    Memory m;
    if (error.error != QJsonParseError::NoError || !doc.isObject() ||
        !fromJson(doc.object(), config_.family, &m))
        return false;
    setMemory(m);
    return true;
}
