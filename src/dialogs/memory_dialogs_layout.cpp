#include "dialogs/memory_dialogs_layout.h"

#include <algorithm>
#include <cstdint>

namespace tl {

namespace {

constexpr SHORT kChoiceDialogWidth = 174;
constexpr SHORT kFirstChoiceTop = 22; // 15 below the question
constexpr SHORT kChoiceWidth = 50;
constexpr SHORT kChoiceHeight = 10;
constexpr SHORT kTwoColumnStep = 10;

DialogItemFields Item(DWORD style, WORD id, int x, int y, int cx, int cy, std::u16string_view cls) {
    DialogItemFields item;
    item.style = style;
    item.id = id;
    item.x = static_cast<SHORT>(x);
    item.y = static_cast<SHORT>(y);
    item.cx = static_cast<SHORT>(cx);
    item.cy = static_cast<SHORT>(cy);
    item.windowClass.text = std::u16string(cls);
    return item;
}

DialogTemplateFields Header(int cx, int cy, const std::u16string& typeface) {
    DialogTemplateFields fields;
    fields.style = kInMemoryDialogStyle;
    fields.cx = static_cast<SHORT>(cx);
    fields.cy = static_cast<SHORT>(cy);
    fields.pointSize = kInMemoryDialogPointSize;
    fields.typeface = typeface;
    return fields;
}

} // namespace

LONG MulDiv(LONG a, LONG b, LONG c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c < 0 ? -static_cast<std::int64_t>(c) : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude =
        ((product < 0 ? -product : product) + half) / (c < 0 ? -static_cast<std::int64_t>(c) : c);
    return static_cast<LONG>(negative ? -magnitude : magnitude);
}

DialogTemplateFields ChoiceDialogTemplate(std::size_t choices, DWORD itemStyle,
                                          const std::u16string& typeface) {
    const int n = static_cast<int>(std::clamp<std::size_t>(choices, 1, kMaxChoices));
    int height = 0;
    int buttonRow = 0;
    int spacing = 0;
    if (n <= 3) {
        // The general formula would put the last choice on or against the button row; these
        // keep the four-choice spacing and leave the row 8 units below the last choice.
        spacing = 12;
        buttonRow = kFirstChoiceTop + n * spacing + 6;
        height = buttonRow + 24;
    } else if (n <= 6) {
        spacing = n <= 4 ? 2 * (10 - n) : 10;
        height = n * (spacing + 10) + 10;
        buttonRow = n * (spacing + 10) - 14;
    } else {
        height = n * 14 + 26;
        buttonRow = n * 14 + 2;
    }

    DialogTemplateFields fields = Header(kChoiceDialogWidth, height, typeface);
    fields.items.push_back(Item(kDefPushButtonStyle, 1, 30, buttonRow, 50, 14, u"button"));
    fields.items.push_back(Item(kPushButtonStyle, 2, 90, buttonRow, 50, 14, u"button"));
    fields.items.push_back(Item(kStaticTextStyle, kChoiceQuestionId, 17, 7, 144, 8, u"static"));
    const int leftColumn = n == 9 ? 5 : 4;
    for (int j = 0; j < n; ++j) {
        int x = 50;
        int y = kFirstChoiceTop + j * spacing;
        if (n >= 7) {
            const bool left = j < leftColumn;
            x = left ? 30 : 90;
            y = kFirstChoiceTop + (left ? j : j - leftColumn) * kTwoColumnStep;
        }
        fields.items.push_back(Item(kPushButtonStyle | itemStyle,
                                    static_cast<WORD>(kFirstChoiceId + j), x, y, kChoiceWidth,
                                    kChoiceHeight, u"button"));
    }
    return fields;
}

std::optional<DialogTemplateFields> RestartDialogTemplate(std::string_view templateName,
                                                          std::size_t returnTextLength,
                                                          const std::u16string& typeface) {
    if (templateName != kRestartTemplateName) {
        return std::nullopt;
    }
    const auto length = static_cast<LONG>(std::min<std::size_t>(returnTextLength, 0xFFFF));
    const int width = length <= 26 ? 230 : MulDiv(length, 45, 10) + 20;
    const bool sideBySide = width == 230;
    const int buttonWidth = sideBySide ? 100 : width - 20;

    DialogTemplateFields fields = Header(width, 100, typeface);
    fields.items.push_back(
        Item(kDefPushButtonStyle, kRestartButtonId, 10, 60, buttonWidth, 14, u"button"));
    fields.items.push_back(Item(kPushButtonStyle, kReturnButtonId, sideBySide ? 120 : 10,
                                sideBySide ? 60 : 80, buttonWidth, 14, u"button"));
    fields.items.push_back(
        Item(kStaticTextStyle, kRestartMessageId, 25, 20, width - 40, 26, u"static"));
    return fields;
}

bool BuildDialogTemplate(const DialogTemplateFields& fields, DialogTemplateBuilder& builder) {
    if (!builder.SetHeader(fields)) {
        return false;
    }
    return std::all_of(fields.items.begin(), fields.items.end(),
                       [&](const DialogItemFields& item) { return builder.AddItem(item); });
}

} // namespace tl
