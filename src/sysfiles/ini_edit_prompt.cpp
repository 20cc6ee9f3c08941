// The questions and notices of the INI editing, and the product text they name.
#include "sysfiles/ini_edit.h"

#include "dialogs/dialog_utils.h"
#include "state/installer.h"
#include "text/ansi_text.h"

#include <array>

namespace tl {
namespace {

constexpr std::size_t kProductTextMax = kModeTextSize - 1;
constexpr std::string_view kOr = " or ";

// The word for "or" by language index; the last three languages put nothing in its place.
constexpr std::array<std::string_view, 9> kOrWords = {"or",    "ou", "oder", "of", "eller",
                                                      "eller", "",   "",     ""};

// The longest start of `text` of at most `limit` bytes that does not cut a double-byte
// character in two.
std::string_view CutWhole(std::string_view text, std::size_t limit) {
    return text.substr(0, text::CharacterPrefixLength(text, limit));
}

std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts)
        text += part;
    return text;
}

void RepaintOwner(WindowSystem& windows, WindowHandle owner) {
    windows.InvalidateRect(owner, nullptr, TRUE);
    windows.UpdateWindow(owner);
}

std::string QuestionText(std::string_view t) {
    return Concat({LoadTextCopy(101), t, LoadTextCopy(102), LoadTextCopy(103), LoadTextCopy(104), t,
                   LoadTextCopy(105), t, LoadTextCopy(106)});
}

std::string NoticeText(std::string_view t, std::string_view printerName) {
    std::string status = LoadTextCopy(111);
    if (const std::size_t at = status.find("%s"); at != std::string::npos)
        status.replace(at, 2, printerName);
    return Concat({LoadTextCopy(107), t, LoadTextCopy(108), LoadTextCopy(109), t, LoadTextCopy(110),
                   t, status, LoadTextCopy(112), t, LoadTextCopy(113), t, LoadTextCopy(114)});
}

} // namespace

std::string ProductText(std::string_view modeText, int languageIndex) {
    std::string text(modeText.size() > 2 ? modeText.substr(2) : std::string_view{});
    if (languageIndex > 0 && languageIndex < static_cast<int>(kOrWords.size()) &&
        text.size() >= kOr.size()) {
        for (std::size_t at = 0; at + kOr.size() <= text.size(); ++at) {
            if (PrefixEqualsNoCase(std::string_view(text).substr(at), kOr, kOr.size())) {
                text.replace(at + 1, 2, kOrWords[static_cast<std::size_t>(languageIndex)]);
                break;
            }
        }
    }
    return std::string(CutWhole(text, kProductTextMax));
}

bool DecideRemoval(Installer& installer, WindowHandle owner) {
    std::string& mode = installer.iniEdit.modeText;
    const char current = mode.empty() ? '\0' : mode[0];
    if (current != kModeAsk && current != kModeNotify)
        return true;

    const std::string product = ProductText(mode, installer.languageIndex);
    const std::string caption = LoadTextCopy(TextId::WarningCaption);
    if (current == kModeNotify) {
        installer.windows.MessageBox(owner, NoticeText(product, installer.printerName), caption,
                                     MB_OK | MB_ICONEXCLAMATION, MessageKey(107));
        RepaintOwner(installer.windows, owner);
        mode[0] = kModeSkip;
        return true;
    }
    const int answer = installer.windows.MessageBox(owner, QuestionText(product), caption,
                                                    MB_YESNO | MB_ICONEXCLAMATION, MessageKey(101));
    RepaintOwner(installer.windows, owner);
    if (answer == IDYES) {
        mode[0] = kModeRemove;
        // A failure of this run stays a failure, whatever is removed after it.
        if (installer.installationState != InstallationState::Failed)
            installer.installationState = InstallationState::RestartNeeded;
        return true;
    }
    mode[0] = kModeSkip;
    installer.iniEdit.declined = true;
    return false;
}

} // namespace tl
