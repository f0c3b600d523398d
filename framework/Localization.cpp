#include "framework/Localization.h"

#include "framework/QtBridge.h"
#include "framework/Version.h"

#include <QStandardPaths>
#include <QTranslator>

#include <cstdlib>
#include <vector>

namespace Quorvane {

namespace {

String Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The languages to look in, most wanted first, read from the environment as gettext reads it:
// LANGUAGE's list, then the locale of LC_ALL, LC_MESSAGES or LANG; the C locale wants none.
// QLocale::uiLanguages does not serve: it keeps LANGUAGE under the C locale, leaves the locale out
// whenever LANGUAGE is set, and reads the environment only once in a process.
std::vector<String> UserLanguages()
{
    String locale = Environment("LC_ALL");
    if (locale.empty())
        locale = Environment("LC_MESSAGES");
    if (locale.empty())
        locale = Environment("LANG");
    if (locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C."))
        return {};
    std::vector<String> languages;
    String list = Environment("LANGUAGE");
    for (String::size_type start = 0; start <= list.size();) {
        auto colon = list.find(':', start);
        if (colon == String::npos)
            colon = list.size();
        if (colon > start)
            languages.push_back(list.substr(start, colon - start));
        start = colon + 1;
    }
    languages.push_back(locale);
    for (auto& language : languages)
        language = language.substr(0, language.find_first_of(".@"));
    return languages;
}

} // namespace

String _SystemClass::_GetLocalizedString(const String& key, const String& defaultText,
                                         const String& language) const
{
    std::vector<String> languages = language.empty() ? UserLanguages() : std::vector{language};
    if (languages.empty())
        return defaultText;
    auto dot = key.find('.');
    const String context = dot == String::npos ? String() : key.substr(0, dot);
    const String source = dot == String::npos ? key : key.substr(dot + 1);
    const QString catalogue = QStringLiteral(QUORVANE_PROGRAM_NAME "_");
    for (const String& wanted : languages) {
        // The XDG data folders, most personal first.
        for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
            QTranslator translator;
            // load() falls back from "it_IT" to "it" by itself.
            if (!translator.load(catalogue + ToQString(wanted),
                                 folder + QStringLiteral("/" QUORVANE_PROGRAM_NAME "/translations")))
                continue;
            QString translation = translator.translate(context.c_str(), source.c_str());
            if (!translation.isEmpty())
                return FromQString(translation);
        }
    }
    return defaultText;
}

namespace {

Ref<_SystemClass>& SystemObject()
{
    static Ref<_SystemClass> system;
    return system;
}

} // namespace

Ref<_SystemClass> System()
{
    if (!SystemObject())
        SystemObject() = RuntimeNewObject<_SystemClass>();
    return SystemObject();
}

void ReleaseSystemObject()
{
    SystemObject().Clear();
}

} // namespace Quorvane
