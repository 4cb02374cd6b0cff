#include "tessary/CRegistryAccess.h"

#include <QSettings>

namespace {

// Each root is a store of its own, named like the hive it stands for.
std::unique_ptr<QSettings> OpenStore(CRegistryAccess::Root root)
{
    switch (root) {
    case CRegistryAccess::Root::ClassesRoot:
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QStringLiteral("Tessary"), QStringLiteral("Classes"));
    case CRegistryAccess::Root::LocalMachine:
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QStringLiteral("Tessary"), QStringLiteral("Machine"));
    case CRegistryAccess::Root::CurrentUser:
        break;
    }
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Tessary"), QStringLiteral("User"));
}

QString GroupOf(const QString& subKey)
{
    QString group = subKey;
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return group;
}

} // namespace

CRegistryAccess::CRegistryAccess() = default;

CRegistryAccess::CRegistryAccess(Root root, const QString& subKey)
{
    SetKey(root, subKey);
}

CRegistryAccess::~CRegistryAccess()
{
    CloseKey();
}

void CRegistryAccess::SetKey(Root root, const QString& subKey)
{
    CloseKey();
    m_root = root;
    m_subKey = subKey;
}

bool CRegistryAccess::OpenKey(bool)
{
    CloseKey();
    m_open = OpenStore(m_root);
    if (!m_subKey.isEmpty())
        m_open->beginGroup(GroupOf(m_subKey));
    return m_open->status() == QSettings::NoError;
}

bool CRegistryAccess::CloseKey()
{
    if (!m_open)
        return true;
    m_open->sync();
    const bool ok = m_open->status() == QSettings::NoError;
    m_open.reset();
    return ok;
}

bool CRegistryAccess::GetValueData(const QString& name, std::uint32_t& value, bool createIfMissing)
{
    if (!m_open && !OpenKey())
        return false;
    const QVariant stored = m_open->value(name);
    if (!stored.isValid()) {
        if (!createIfMissing)
            return false;
        return SetValueData(name, value);
    }
    bool ok = false;
    const uint read = stored.toUInt(&ok);
    if (ok)
        value = read;
    return ok;
}

bool CRegistryAccess::GetValueData(const QString& name, QString& value, bool createIfMissing)
{
    if (!m_open && !OpenKey())
        return false;
    const QVariant stored = m_open->value(name);
    if (!stored.isValid()) {
        if (!createIfMissing)
            return false;
        return SetValueData(name, value);
    }
    value = stored.toString().left(256);
    return true;
}

bool CRegistryAccess::SetValueData(const QString& name, std::uint32_t value)
{
    if (!m_open && !OpenKey())
        return false;
    m_open->setValue(name, value);
    return true;
}

bool CRegistryAccess::SetValueData(const QString& name, const QString& value)
{
    if (!m_open && !OpenKey())
        return false;
    m_open->setValue(name, value);
    return true;
}

bool CRegistryAccess::DeleteValue(const QString& name)
{
    if (!m_open && !OpenKey())
        return false;
    if (!m_open->contains(name))
        return false;
    m_open->remove(name);
    return true;
}

bool CRegistryAccess::GetValues(QStringList& names, QStringList& data)
{
    if (!m_open && !OpenKey())
        return false;
    names = m_open->childKeys();
    data.clear();
    for (const QString& n : names)
        data << m_open->value(n).toString();
    return true;
}

bool CRegistryAccess::GetKeys(QStringList& names)
{
    if (!m_open && !OpenKey())
        return false;
    names = m_open->childGroups();
    return true;
}
