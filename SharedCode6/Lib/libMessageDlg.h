#pragma once
// Rules of the shared message dialog, free of any widget code: types and titles, the standard
// buttons, the text ending, the Escape target, the keys and the layout metrics. The Qt dialog and
// the console answer both follow them.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

enum class TMsgDlgType : uint8_t {
    Warning = 0,
    Error = 1,
    Information = 2,
    Confirmation = 3,
    Custom = 4
};

// Bit positions of the standard buttons.
enum class TMsgDlgBtn : uint8_t {
    Yes = 0,
    No = 1,
    OK = 2,
    Cancel = 3,
    Abort = 4,
    Retry = 5,
    Ignore = 6,
    All = 7,
    NoToAll = 8,
    YesToAll = 9,
    Details = 10,
    Close = 11,
    Help = 12
};
inline constexpr int kMsgDlgBtnCount = 13;

// A set of standard buttons; shown in bit order whatever order they were named in.
class TMsgDlgButtons {
  public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
        for (TMsgDlgBtn b : buttons)
            bits_ |= Bit(b);
    }
    constexpr bool Has(TMsgDlgBtn b) const { return (bits_ & Bit(b)) != 0; }
    constexpr uint32_t Bits() const { return bits_; }

  private:
    static constexpr uint32_t Bit(TMsgDlgBtn b) { return 1u << static_cast<unsigned>(b); }
    uint32_t bits_ = 0;
};

// Result codes answered by the standard buttons; 2 is also the answer of a dialog closed
// without a button.
namespace msg_result {
inline constexpr int32_t Help = 0;
inline constexpr int32_t OK = 1;
inline constexpr int32_t Cancel = 2;
inline constexpr int32_t Abort = 3;
inline constexpr int32_t Retry = 4;
inline constexpr int32_t Ignore = 5;
inline constexpr int32_t Yes = 6;
inline constexpr int32_t No = 7;
inline constexpr int32_t All = 8;
inline constexpr int32_t NoToAll = 9;
inline constexpr int32_t YesToAll = 10;
inline constexpr int32_t Closed = Cancel;
} // namespace msg_result

// One button: "&" in the caption marks the underlined letter; the hot key is the code of the key
// that carries that letter on the Ukrainian layout (the Latin letter's upper-case code).
struct TMsgButtonInfo {
    uint8_t Kind = 0;
    std::string Caption;
    uint16_t HotKey = 0;
    int32_t Result = 0;

    bool operator==(const TMsgButtonInfo&) const = default;
};

// "О&К" -> "ОК": the caption without its underline mark ("&&" stands for one "&").
std::string StripHotKeyMark(const std::string& caption);
// The letter after the underline mark as UTF-8 ("К" for "О&К"), empty when there is none.
std::string HotKeyLetter(const std::string& caption);

// Kind of the buttons a caller makes up; the standard ones carry their bit position.
inline constexpr uint8_t kMsgBtnKindCustom = 0xFF;

// The leave reminder of the patch window: save the error file, or leave.
inline constexpr int32_t kLeaveSaveResult = 91;
inline constexpr int32_t kLeaveExitResult = 92;
extern const TMsgButtonInfo kLeaveSaveButton; // "&Зберегти", P, 91
extern const TMsgButtonInfo kLeaveExitButton; // "&Вихід", D, 92

const std::array<TMsgButtonInfo, kMsgDlgBtnCount>& StandardMsgButtons();
const TMsgButtonInfo& StandardMsgButton(TMsgDlgBtn button);
// The standard records of the set, bit 0 first.
std::vector<TMsgButtonInfo> MsgButtonsOf(TMsgDlgButtons buttons);

// The type's own title; the custom type takes the application title.
std::string MsgDlgTypeTitle(TMsgDlgType type);
// The given title when not empty, otherwise the type's.
std::string MsgDlgTitle(TMsgDlgType type, const std::string& title);
// Process-wide application title (set by the window from its caption).
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

// The text as the dialog shows it: the trailing run of ".", "!", "?" and blanks is replaced by
// "?" when it held a question mark, otherwise by ".".
std::string MsgDlgText(const std::string& text);

// Index of the button Escape presses, or -1: the first answering 2, else the last answering 7,
// else the only button when it answers 1.
int MsgDlgEscapeTarget(const std::vector<TMsgButtonInfo>& buttons);

// The button the console and the test hook press when nobody answers: the Escape target, else
// the first button; -1 without buttons.
int MsgDlgDefaultButton(const std::vector<TMsgButtonInfo>& buttons);
// Its result, or "closed" without buttons.
int32_t MsgDlgDefaultResult(const std::vector<TMsgButtonInfo>& buttons);

// Key codes the rules name (the platform's virtual key numbering).
namespace msg_key {
inline constexpr uint16_t Escape = 27;
inline constexpr uint16_t Insert = 45;
inline constexpr uint16_t C = 67;
} // namespace msg_key

struct TMsgShiftState {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

struct TMsgKeyAction {
    enum Kind { None, Press, Close, Copy };
    Kind Action = None;
    int ButtonIndex = -1; // for Press

    bool operator==(const TMsgKeyAction&) const = default;
};

// What a key press does in a dialog of this type with these buttons.
TMsgKeyAction MsgDlgKeyAction(TMsgDlgType type, const std::vector<TMsgButtonInfo>& buttons,
                              uint16_t key, TMsgShiftState shift);

// Geometry of the dialog's client area, from the size the label needs for the shown text.
struct TMsgDlgLayout {
    static constexpr int kButtonWidth = 75;
    static constexpr int kButtonHeight = 25;
    static constexpr int kButtonStep = 83;
    static constexpr int kButtonsAboveBottom = 36;
    static constexpr int kMargin = 12;
    static constexpr int kPictureSize = 32;

    int ClientWidth = 0;
    int ClientHeight = 0;
    int PictureLeft = kMargin;
    int PictureTop = kMargin;
    bool HasPicture = true;
    int TextLeft = 0;
    int TextTop = kMargin;
    int ButtonTop = 0;
    std::vector<int> ButtonLefts;
};

TMsgDlgLayout MsgDlgLayout(TMsgDlgType type, int labelWidth, int labelHeight, int buttonCount);
