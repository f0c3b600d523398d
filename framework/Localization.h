#pragma once

#include "framework/Object.h"

namespace Quorvane {

// The framework's system services.
class _SystemClass : public Object {
public:
    // The translation held for key in language (the user's languages when it is empty), else
    // defaultText. Translations are Qt catalogues named after the program and the language, found
    // in the program's "translations" folder under the XDG data folders; the part of key before
    // its first "." is the catalogue context, the rest the source text.
    String _GetLocalizedString(const String& key, const String& defaultText,
                               const String& language) const;

protected:
    _SystemClass() = default;
};

// The framework's one system object, made on first use.
Ref<_SystemClass> System();

// Empties the framework's reference to the system object, then lets go of the object.
void ReleaseSystemObject();

} // namespace Quorvane
