#pragma once

#include "MultiLang/MLBase.h"

namespace testsupport {

// The interface language is one for the whole process: a test that changes it (the station
// switches every window to English when it is created) gives it back when it ends, whatever its
// assertions did.
class LanguageGuard {
public:
    LanguageGuard() : m_language(GlobalLanguage()) {}
    explicit LanguageGuard(int language) : LanguageGuard() { SetGlobalLanguage(language); }
    ~LanguageGuard() { SetGlobalLanguage(m_language); }
    LanguageGuard(const LanguageGuard&) = delete;
    LanguageGuard& operator=(const LanguageGuard&) = delete;

private:
    int m_language;
};

} // namespace testsupport
