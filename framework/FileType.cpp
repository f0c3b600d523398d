#include "framework/FileType.h"

#include "framework/FolderItem.h"
#include "framework/Text.h"

#include <algorithm>

namespace Quorvane {

namespace {

// The registrations, each with the type that holds it.
std::vector<std::pair<const FileType*, FileType::Registration>>& Registrations()
{
    static std::vector<std::pair<const FileType*, FileType::Registration>> registrations;
    return registrations;
}

} // namespace

const ClassDescription& FileType::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "FileType",
         .Base = &Object::Description(),
         .Methods = {"Name", "Extensions", "MacType", "MacCreator", "Operator_Convert"}});
    return description;
}

void FileType::Withdraw() noexcept
{
    if (!m_registered)
        return;
    auto& registrations = Registrations();
    std::erase_if(registrations, [this](const auto& held) { return held.first == this; });
    m_registered = false;
}

void FileType::Name(const String& name)
{
    Withdraw();
    m_texts.Name = name;
}

void FileType::Extensions(const String& extensions)
{
    Withdraw();
    m_texts.Extensions = extensions;
}

void FileType::MacType(const String& macType)
{
    Withdraw();
    m_texts.MacType = macType;
}

void FileType::MacCreator(const String& macCreator)
{
    Withdraw();
    m_texts.MacCreator = macCreator;
}

String FileType::Operator_Convert()
{
    if (!m_registered) {
        Registrations().emplace_back(this, m_texts);
        m_registered = true;
    }
    return m_texts.Name;
}

void FileType::__Exit() noexcept
{
    Withdraw();
    Object::__Exit();
}

std::vector<FileType::Registration> RegisteredFileTypes()
{
    std::vector<FileType::Registration> held;
    for (const auto& registration : Registrations())
        held.push_back(registration.second);
    return held;
}

Boolean FileTypeAdmits(const String& typeName, const String& path)
{
    for (const auto& [type, registration] : Registrations()) {
        if (registration.Name != typeName)
            continue;
        auto item = FolderItem::TryNew(path);
        if (!item)
            return false;
        // The folder type admits every entry there is, files too: a drop of a file then reaches
        // the handler, which can tell the user that only folders are taken.
        if (registration.MacType == "folder") {
            if (item->Exists())
                return true;
            continue;
        }
        if (item->Directory())
            continue;
        for (const String& extension : Split(registration.Extensions, ";"))
            if (!extension.empty() && path.size() > extension.size() && path.ends_with(extension))
                return true;
    }
    return false;
}

} // namespace Quorvane
