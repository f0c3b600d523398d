#pragma once

#include "framework/ClassDescription.h"

#include <vector>

namespace Quorvane {

// A kind of file that controls can accept in drops. It registers itself with the framework when
// first converted to text; every setter withdraws the registration, and so does its end.
class FileType : public Object {
    QUORVANE_DESCRIBED_CLASS
public:
    // What the framework holds of a registered type.
    struct Registration {
        String Name;
        String MacCreator;
        String MacType;
        String Extensions;
        friend bool operator==(const Registration&, const Registration&) = default;
    };

    const String& Name() const noexcept { return m_texts.Name; }
    // Sets the name, after withdrawing the registration.
    void Name(const String& name);
    const String& Extensions() const noexcept { return m_texts.Extensions; }
    // Sets the extensions (";" between them), after withdrawing the registration.
    void Extensions(const String& extensions);
    const String& MacType() const noexcept { return m_texts.MacType; }
    // Sets the type code ("folder" stands for folders), after withdrawing the registration.
    void MacType(const String& macType);
    const String& MacCreator() const noexcept { return m_texts.MacCreator; }
    // Sets the creator code, after withdrawing the registration.
    void MacCreator(const String& macCreator);

    // The type's text form, its name; registers the type first when it is not registered.
    String Operator_Convert();
    // True while the framework holds the type's registration.
    Boolean Registered() const noexcept { return m_registered; }

protected:
    FileType() = default;
    // Withdraws the registration.
    void __Exit() noexcept override;

private:
    void Withdraw() noexcept;

    Registration m_texts;
    Boolean m_registered = false;
};

// Every registration the framework holds, oldest first.
std::vector<FileType::Registration> RegisteredFileTypes();

// True when the local entry at path is of the registered type named typeName: any existing entry,
// a folder or a file, for the type code "folder", else a file with one of the type's extensions.
Boolean FileTypeAdmits(const String& typeName, const String& path);

} // namespace Quorvane
