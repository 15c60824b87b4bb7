#include "SharedCode6/Lib/libMessageDlg.h"

namespace {

TMsgButtonInfo Standard(TMsgDlgBtn bit, const char* caption, uint16_t hotKey, int32_t result) {
    return {static_cast<uint8_t>(bit), caption, hotKey, result};
}

std::string& ApplicationTitleStore() {
    static std::string title;
    return title;
}

} // namespace

const TMsgButtonInfo kLeaveSaveButton{kMsgBtnKindCustom, "&Зберегти", 80, kLeaveSaveResult};
const TMsgButtonInfo kLeaveExitButton{kMsgBtnKindCustom, "&Вихід", 68, kLeaveExitResult};

const std::array<TMsgButtonInfo, kMsgDlgBtnCount>& StandardMsgButtons() {
    using B = TMsgDlgBtn;
    namespace r = msg_result;
    static const std::array<TMsgButtonInfo, kMsgDlgBtnCount> table{
        Standard(B::Yes, "Т&ак", 70, r::Yes),
        Standard(B::No, "Н&і", 83, r::No),
        Standard(B::OK, "О&К", 82, r::OK),
        Standard(B::Cancel, "Від&міна", 86, r::Cancel),
        Standard(B::Abort, "П&рипинити", 72, r::Abort),
        Standard(B::Retry, "П&овторити", 74, r::Retry),
        Standard(B::Ignore, "Про&пустити", 71, r::Ignore),
        Standard(B::All, "В&сі", 67, r::All),
        Standard(B::NoToAll, "Ні &для всіх", 76, r::NoToAll),
        Standard(B::YesToAll, "Так для &всіх", 68, r::YesToAll),
        Standard(B::Details, "Де&тальніше", 78, r::OK),
        Standard(B::Close, "За&крити", 82, r::No),
        Standard(B::Help, "Допомо&га", 85, r::Help),
    };
    return table;
}

const TMsgButtonInfo& StandardMsgButton(TMsgDlgBtn button) {
    return StandardMsgButtons()[static_cast<size_t>(button)];
}

std::vector<TMsgButtonInfo> MsgButtonsOf(TMsgDlgButtons buttons) {
    std::vector<TMsgButtonInfo> list;
    for (const TMsgButtonInfo& info : StandardMsgButtons())
        if (buttons.Has(static_cast<TMsgDlgBtn>(info.Kind)))
            list.push_back(info);
    return list;
}

std::string MsgDlgTypeTitle(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::Warning:
        return "Увага";
    case TMsgDlgType::Error:
        return "Помилка";
    case TMsgDlgType::Information:
        return "Інформація";
    case TMsgDlgType::Confirmation:
        return "Підтвердження";
    case TMsgDlgType::Custom:
        break;
    }
    return ApplicationTitle();
}

std::string MsgDlgTitle(TMsgDlgType type, const std::string& title) {
    return title.empty() ? MsgDlgTypeTitle(type) : title;
}

void SetApplicationTitle(const std::string& title) {
    ApplicationTitleStore() = title;
}

const std::string& ApplicationTitle() {
    return ApplicationTitleStore();
}

std::string MsgDlgText(const std::string& text) {
    size_t end = text.size();
    bool question = false;
    while (end > 0) {
        const char c = text[end - 1];
        if (c != '.' && c != '!' && c != '?' && c != ' ')
            break;
        question = question || c == '?';
        --end;
    }
    return text.substr(0, end) + (question ? "?" : ".");
}

int MsgDlgEscapeTarget(const std::vector<TMsgButtonInfo>& buttons) {
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].Result == msg_result::Cancel)
            return static_cast<int>(i);
    for (size_t i = buttons.size(); i > 0; --i)
        if (buttons[i - 1].Result == msg_result::No)
            return static_cast<int>(i - 1);
    if (buttons.size() == 1 && buttons[0].Result == msg_result::OK)
        return 0;
    return -1;
}

int MsgDlgDefaultButton(const std::vector<TMsgButtonInfo>& buttons) {
    const int target = MsgDlgEscapeTarget(buttons);
    return target >= 0 ? target : (buttons.empty() ? -1 : 0);
}

int32_t MsgDlgDefaultResult(const std::vector<TMsgButtonInfo>& buttons) {
    const int index = MsgDlgDefaultButton(buttons);
    return index >= 0 ? buttons[static_cast<size_t>(index)].Result : msg_result::Closed;
}

TMsgKeyAction MsgDlgKeyAction(TMsgDlgType type, const std::vector<TMsgButtonInfo>& buttons,
                              uint16_t key, TMsgShiftState shift) {
    if (key == msg_key::Escape) {
        const int target = MsgDlgEscapeTarget(buttons);
        if (target >= 0)
            return {TMsgKeyAction::Press, target};
        if (type == TMsgDlgType::Custom || buttons.size() == 1)
            return {TMsgKeyAction::Close};
        return {};
    }
    const bool ctrlOnly = shift.Ctrl && !shift.Shift && !shift.Alt;
    if (ctrlOnly && (key == msg_key::C || key == msg_key::Insert))
        return {TMsgKeyAction::Copy};
    if (shift.Ctrl || key == 0)
        return {};
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].HotKey == key)
            return {TMsgKeyAction::Press, static_cast<int>(i)};
    return {};
}

TMsgDlgLayout MsgDlgLayout(TMsgDlgType type, int labelWidth, int labelHeight, int buttonCount) {
    using L = TMsgDlgLayout;
    L layout;
    layout.HasPicture = type != TMsgDlgType::Custom;
    // The custom type has no picture: its text takes the picture's place.
    layout.TextLeft = layout.HasPicture ? L::kMargin + L::kPictureSize + L::kMargin : L::kMargin;
    layout.ClientHeight = labelHeight + 78;
    layout.ButtonTop = layout.ClientHeight - L::kButtonsAboveBottom;

    const int rowWidth = L::kButtonStep * buttonCount + 16;
    const int textWidth = labelWidth + 38 + (layout.HasPicture ? L::kPictureSize : 0);
    int firstLeft = L::kMargin;
    if (textWidth > rowWidth) {
        layout.ClientWidth = textWidth;
        const int buttonsSpan =
            buttonCount > 0 ? L::kButtonStep * (buttonCount - 1) + L::kButtonWidth : 0;
        firstLeft = (textWidth - buttonsSpan) / 2;
    } else {
        layout.ClientWidth = rowWidth;
    }
    for (int i = 0; i < buttonCount; ++i)
        layout.ButtonLefts.push_back(firstLeft + i * L::kButtonStep);
    return layout;
}

namespace {

// Length of the UTF-8 sequence that starts with this byte.
size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

std::string StripHotKeyMark(const std::string& caption) {
    std::string plain;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

std::string HotKeyLetter(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        const size_t length = Utf8Length(static_cast<unsigned char>(caption[i + 1]));
        return caption.substr(i + 1, length);
    }
    return {};
}
