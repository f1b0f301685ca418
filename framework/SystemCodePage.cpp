#include "framework/SystemCodePage.h"

#include "framework/Win32.h"

namespace orb {

namespace {
class AnsiCodePage final : public CodePage {
public:
    std::wstring toWide(std::string_view bytes) const override {
        if (bytes.empty()) return {};
        int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        std::wstring out(static_cast<size_t>(n), L'\0');
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
        return out;
    }
    std::string toAnsi(std::wstring_view text) const override {
        if (text.empty()) return {};
        int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        std::string out(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
        return out;
    }
};
}  // namespace

const CodePage& systemCodePage() {
    static const AnsiCodePage cp;
    return cp;
}

}  // namespace orb
