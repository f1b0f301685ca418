#pragma once
#include <string>
#include <vector>

namespace orb {

bool IsUserAdmin();
// Starts this program again through the elevation prompt; true when the shell took it.
bool RelaunchElevated(const std::vector<std::wstring>& arguments);
void ShowAdminMessage(const std::wstring& adminMsg, const std::wstring& title);

}  // namespace orb
