#include "platform/PnwReg.h"

#include "platform/PlatformSettings.h"
#include "platform/RegistryFile.h"

PnwReg::PnwReg() : m_file(PlatformSettings::registryFile()) {}

PnwReg::PnwReg(const QString &file) : m_file(file) {}

QString PnwReg::GetKeyValue(const QString &keyPath, const QString &valueName, const QString &defaultValue) const {
    const auto v = RegistryFile::load(m_file).value(keyPath, valueName);
    if (!v) return defaultValue;
    return v->multi ? v->data.join(QChar(0)) : v->data.value(0);
}

QStringList PnwReg::GetMultiStringValue(const QString &keyPath, const QString &valueName) const {
    const auto v = RegistryFile::load(m_file).value(keyPath, valueName);
    return v ? v->data : QStringList();
}

bool PnwReg::KeyExists(const QString &keyPath) const { return RegistryFile::load(m_file).keyExists(keyPath); }

void PnwReg::SetKeyValue(const QString &keyPath, const QString &valueName, const QString &value) const {
    RegistryFile reg = RegistryFile::load(m_file);
    reg.setValue(keyPath, RegistryFile::Value{valueName, false, {value}});
    reg.save(m_file);
}

void PnwReg::SetMultiStringValue(const QString &keyPath, const QString &valueName, const QStringList &entries) const {
    RegistryFile reg = RegistryFile::load(m_file);
    reg.setValue(keyPath, RegistryFile::Value{valueName, true, entries});
    reg.save(m_file);
}

bool PnwReg::DeleteValue(const QString &keyPath, const QString &valueName) const {
    RegistryFile reg = RegistryFile::load(m_file);
    const bool existed = reg.removeValue(keyPath, valueName);
    if (existed) reg.save(m_file);
    return existed;
}
