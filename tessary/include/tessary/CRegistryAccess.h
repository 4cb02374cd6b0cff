#pragma once

#include "tessary/TessaryExport.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QSettings;

/// A key of the system's settings store (the registry on Windows, a
/// configuration file elsewhere) with its values and sub-keys.
class TESSARY_EXPORT CRegistryAccess
{
public:
    enum class Root
    {
        ClassesRoot,
        CurrentUser,
        LocalMachine
    };

    CRegistryAccess();
    CRegistryAccess(Root root, const QString& subKey);
    ~CRegistryAccess();
    CRegistryAccess(const CRegistryAccess&) = delete;
    CRegistryAccess& operator=(const CRegistryAccess&) = delete;

    void SetKey(Root root, const QString& subKey);
    /// Opens the key, creating it when missing.
    bool OpenKey(bool unused = true);
    bool CloseKey();
    bool IsKeyOpen() const { return m_open != nullptr; }

    /// Reads a value; when it is missing and create is true, the given
    /// value is written and true returned.
    bool GetValueData(const QString& name, std::uint32_t& value, bool createIfMissing);
    bool GetValueData(const QString& name, QString& value, bool createIfMissing);
    bool SetValueData(const QString& name, std::uint32_t value);
    bool SetValueData(const QString& name, const QString& value);
    bool DeleteValue(const QString& name);
    bool GetValues(QStringList& names, QStringList& data);
    bool GetKeys(QStringList& names);

private:
    Root m_root = Root::CurrentUser;
    QString m_subKey;
    std::unique_ptr<QSettings> m_open;
};
