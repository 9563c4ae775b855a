#include "settings/qt_settings_backend.h"

#include <QSettings>
#include <QStringList>
#include <memory>

namespace tarn {
namespace {

std::unique_ptr<QSettings> openSettings() {
#ifdef _WIN32
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\TARN\\Tarn DataBase"),
        QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("TARN"), QStringLiteral("Tarn DataBase"));
#endif
}

// Texts are 8-bit in the system's code page; the local 8-bit codec is its closest match.
QString toQt(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::optional<std::string> QtSettingsBackend::read(std::string_view name) const {
    auto store = openSettings();
    const QString key = toQt(name);
    if (store->status() != QSettings::NoError || !store->contains(key)) return std::nullopt;
    const QVariant value = store->value(key);
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    // An INI value with a comma written by hand reads back as a list.
    const QString text = value.typeId() == QMetaType::QStringList
                             ? value.toStringList().join(QStringLiteral(", "))
                             : value.toString();
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool QtSettingsBackend::write(std::string_view name, std::string_view text) {
    auto store = openSettings();
    if (!store->isWritable()) return false;
    // Text the local 8-bit encoding reads back unchanged is stored as text, as it always
    // was; other bytes (a file name that is not UTF-8) as a byte array, kept exactly.
    const QString asText = toQt(text);
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (asText.toLocal8Bit() == bytes)
        store->setValue(toQt(name), asText);
    else
        store->setValue(toQt(name), bytes);
    store->sync();
    return store->status() == QSettings::NoError;
}

}  // namespace tarn
