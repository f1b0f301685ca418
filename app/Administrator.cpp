#include "app/Administrator.h"

#include "actions/OrbEscape.h"
#include "app/StartupRules.h"
#include "framework/Handles.h"

#include <shellapi.h>

namespace orb {

bool IsUserAdmin() {
    HANDLE raw = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &raw))
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    KernelHandle token(raw);
    alignas(TOKEN_GROUPS) unsigned char buffer[1024];
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenGroups, buffer, sizeof buffer, &size)) return false;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators))
        return false;
    bool found = false;
    auto* groups = reinterpret_cast<TOKEN_GROUPS*>(buffer);
    for (DWORD i = 0; i < groups->GroupCount && !found; ++i) found = EqualSid(groups->Groups[i].Sid, administrators);
    FreeSid(administrators);
    return found;
}

bool RelaunchElevated(const std::vector<std::wstring>& arguments) {
    std::wstring program = moduleFileName();
    std::wstring parameters = RelaunchParameters(arguments);
    std::wstring directory(MAX_PATH, L'\0');
    directory.resize(GetCurrentDirectoryW(MAX_PATH, directory.data()));
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = directory.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

void ShowAdminMessage(const std::wstring& adminMsg, const std::wstring& title) {
    std::wstring text = adminMsg.empty() ? L"You need the administrative privilege to launch this CD." : adminMsg;
    try {
        text = UnescapeText(text);
    } catch (const std::exception&) {
        // A broken escape still tells the user why the menu ends.
    }
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_ICONEXCLAMATION);
}

}  // namespace orb
