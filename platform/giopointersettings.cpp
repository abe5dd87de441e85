// Before any Qt header: Qt's "signals" keyword would clash with a GIO struct member.
#include <gio/gio.h>

#include "giopointersettings.h"

#include <QFile>

namespace {

const char kMouseSchema[] = "org.gnome.desktop.peripherals.mouse";
const char kSpeedKey[] = "speed";
const char kDoubleClickKey[] = "double-click";

// Windows clamps longer double-click times to this.
constexpr int kLongestDoubleClick = 5000;

GSettingsSchemaSource* openSource(const QString& directory)
{
    if (directory.isEmpty()) {
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        return source ? g_settings_schema_source_ref(source) : nullptr;
    }
    GError* error = nullptr;
    GSettingsSchemaSource* source = g_settings_schema_source_new_from_directory(
        QFile::encodeName(directory).constData(), nullptr, FALSE, &error);
    if (error)
        g_error_free(error);
    return source;
}

// Writes one value, refusing what the schema would reject instead of letting GSettings complain.
bool setChecked(GSettings* settings, const char* key, GVariant* value)
{
    g_variant_ref_sink(value);
    bool ok = false;
    GSettingsSchema* schema = nullptr;
    g_object_get(settings, "settings-schema", &schema, nullptr);
    if (schema) {
        GSettingsSchemaKey* schemaKey = g_settings_schema_get_key(schema, key);
        ok = g_variant_is_of_type(value, g_settings_schema_key_get_value_type(schemaKey)) &&
             g_settings_schema_key_range_check(schemaKey, value) &&
             g_settings_is_writable(settings, key) && g_settings_set_value(settings, key, value);
        g_settings_schema_key_unref(schemaKey);
        g_settings_schema_unref(schema);
    }
    g_variant_unref(value);
    if (ok)
        g_settings_sync();
    return ok;
}

} // namespace

std::optional<double> gnomePointerSpeed(int speed)
{
    if (speed < 1 || speed > 20)
        return std::nullopt;
    const double step = speed < 2 ? 0.0 : speed / 2.0;
    return step / 5.0 - 1.0;
}

std::optional<int> gnomeDoubleClickTime(int ms)
{
    if (ms <= 0)
        return std::nullopt;
    return qMin(ms, kLongestDoubleClick);
}

GioPointerSettings::GioPointerSettings(const QString& schemaDirectory)
{
    GSettingsSchemaSource* source = openSource(schemaDirectory);
    if (!source)
        return;
    // Looked up first: creating settings for a schema that is not installed would abort.
    if (GSettingsSchema* schema = g_settings_schema_source_lookup(source, kMouseSchema, TRUE)) {
        m_hasSpeed = g_settings_schema_has_key(schema, kSpeedKey);
        m_hasDoubleClick = g_settings_schema_has_key(schema, kDoubleClickKey);
        m_settings = g_settings_new_full(schema, nullptr, nullptr);
        g_settings_schema_unref(schema);
    }
    g_settings_schema_source_unref(source);
}

GioPointerSettings::~GioPointerSettings()
{
    if (m_settings)
        g_object_unref(m_settings);
}

bool GioPointerSettings::setMouseSpeed(int speed)
{
    const std::optional<double> value = gnomePointerSpeed(speed);
    if (!m_settings || !m_hasSpeed || !value)
        return false;
    return setChecked(m_settings, kSpeedKey, g_variant_new_double(*value));
}

bool GioPointerSettings::setDoubleClickTime(int ms)
{
    const std::optional<int> value = gnomeDoubleClickTime(ms);
    if (!m_settings || !m_hasDoubleClick || !value)
        return false;
    return setChecked(m_settings, kDoubleClickKey, g_variant_new_int32(*value));
}

bool GioPointerSettings::setWheelScrollLines(unsigned)
{
    // GNOME scrolls by its own rule and keeps no line count for the wheel.
    return false;
}
