#include "gundata.h"

#include "mousecontext.h"
#include "profileblocks.h"
#include "scenevalues.h"

#include "device/hid_thread.h"
#include "store/inifiles.h"
#include "store/settingsstore.h"

#include <QFileInfo>
#include <QSettings>

namespace gun {

uint8_t verticalValue(qint64 vertical, bool negate)
{
    const auto y = uint8_t(vertical);
    return negate ? uint8_t(-y) : y;
}

} // namespace gun

namespace {

// The key of one entry of a group, or an empty string when the name cannot be one: QSettings
// reads slashes and backslashes as group separators, and an empty name as the group itself.
QString keyFor(const char* group, const QVariant& name)
{
    const QString text = name.toString();
    if (text.isEmpty() || text.contains(u'/') || text.contains(u'\\'))
        return {};
    return QLatin1String(group) + u'/' + text;
}

QStringList texts(const QVariantList& list, int from, int to)
{
    QStringList out;
    for (int i = from; i < to; ++i)
        out.append(list[i].toString());
    return out;
}

} // namespace

QString GunData::gunFile() const
{
    if (!ctx_.store)
        return {};
    const QString path = ctx_.store->path(QLatin1String(gun::kFile));
    return QFileInfo(path).isFile() ? path : QString();
}

void GunData::mouseSaveGundata(const QVariant& index, const QVariantList& src6)
{
    const QString file = gunFile();
    const QString key = keyFor(gun::kGroup, index);
    if (file.isEmpty() || key.isEmpty() || src6.size() < gun::kEntries)
        return;
    QSettings s(file, QSettings::IniFormat);
    s.setValue(key, texts(src6, 0, gun::kEntries));
}

void GunData::modifyGundata(const QVariant& modifyType, const QVariantList& src6)
{
    const QString file = gunFile();
    const auto type = scenevalues::integer(modifyType);
    if (file.isEmpty() || !type || src6.isEmpty())
        return;
    const QString key = keyFor(gun::kGroup, src6[0]);
    if (key.isEmpty())
        return;

    if (*type == 0) {
        QSettings s(file, QSettings::IniFormat);
        s.remove(key);
    } else if (*type == 1 && src6.size() >= gun::kRenameEntries) {
        const QString oldKey = keyFor(gun::kGroup, src6[gun::kRenameEntries - 1]);
        if (oldKey.isEmpty())
            return;
        QSettings s(file, QSettings::IniFormat);
        s.remove(oldKey);
        s.setValue(key, texts(src6, 1, gun::kEntries));
    }
}

QVariantList GunData::getGunData(const QVariant& name) const
{
    const QString file = gunFile();
    const QString key = keyFor(gun::kGroup, name);
    if (file.isEmpty() || key.isEmpty())
        return {};
    const QSettings s(file, QSettings::IniFormat);
    return IniFiles::list(s.value(key));
}

QStringList GunData::getGunDataKey() const
{
    const QString file = gunFile();
    if (file.isEmpty())
        return {};
    QSettings s(file, QSettings::IniFormat);
    s.beginGroup(QLatin1String(gun::kGroup));
    return s.childKeys();
}

void GunData::mouseSendGundata(int slot, const QVariantList& data)
{
    if (!ctx_.isGun || slot < gun::kFirstSlot || slot > gun::kLastSlot)
        return;
    const auto values = scenevalues::integers(data, gun::kSlotValues);
    if (!values)
        return;
    const auto repeat = uint8_t((*values)[0]);
    const auto horizontal = uint8_t((*values)[1]);

    if (ctx_.is560()) {
        if (!ctx_.blocks)
            return;
        const auto n = unsigned(slot);
        const uint8_t gunBytes[] = {blockmap::kGunMarkerValue, repeat, horizontal,
                                    gun::verticalValue((*values)[2], false)};
        ctx_.blocks->write(n, blockmap::kGunMarker, gunBytes);
        const uint8_t flags = ctx_.blocks->block(n)[blockmap::kGunFlags];
        ctx_.blocks->setByte(n, blockmap::kGunFlags, flags & uint8_t(~blockmap::kGunFlagsClear));
        if (ctx_.link)
            ctx_.blocks->mouseSetProfile(*ctx_.link, n);
        return;
    }

    if (!ctx_.link)
        return;
    uchar option[4] = {};
    ctx_.link->hid553_83H_GetKeyboardoption(option[0], option[1], option[2], option[3]);
    const bool negate = option[gun::kNegateOptionByte - 1] != 0;
    ctx_.link->hid553_04H_SetGunData(repeat, horizontal, gun::verticalValue((*values)[2], negate),
                                     uchar(slot));
}

QVariant GunData::getXYSensitive(const QVariant& index) const
{
    const QString key = keyFor(gun::kXYSensitiveGroup, index);
    const QVariant v = ctx_.store && !key.isEmpty() ? ctx_.store->getData(key, false) : QVariant();
    return v.isValid() ? v : QVariant(gun::kDefaultXYSensitive);
}

QVariant GunData::getselectGun(const QVariant& index) const
{
    const QString key = keyFor(gun::kSelectGunGroup, index);
    const QVariant v = ctx_.store && !key.isEmpty() ? ctx_.store->getData(key, false) : QVariant();
    return v.isValid() ? v : QVariant(QString());
}

void GunData::setXYSensitive(const QVariant& index, const QVariant& xyData)
{
    const QString key = keyFor(gun::kXYSensitiveGroup, index);
    if (ctx_.store && !key.isEmpty())
        ctx_.store->setData(key, xyData);
}

void GunData::setSelectGun(const QVariant& index, const QVariant& xyData)
{
    const QString key = keyFor(gun::kSelectGunGroup, index);
    if (ctx_.store && !key.isEmpty())
        ctx_.store->setData(key, xyData);
}
