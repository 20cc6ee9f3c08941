#include "resources/dialog_template_fields.h"
#include "text/ansi_text.h"

namespace tl::ui {
namespace {

std::string ToAnsi(std::u16string_view text, const CodePage& codePage) {
    return codePage.FromUtf8(Utf16ToUtf8(text));
}

std::u16string ToUtf16(std::string_view ansi, const CodePage& codePage) {
    return Utf8ToUtf16(codePage.ToUtf8(ansi));
}

std::string NameText(const TemplateName& name, const CodePage& codePage) {
    if (name.ordinal) {
        std::string text = "#"; // appended: GCC 12 at -O3 misreads "#" + std::string
        text += std::to_string(*name.ordinal);
        return text;
    }
    return ToAnsi(name.text, codePage);
}

constexpr std::pair<const char*, ControlClass> kClassNames[] = {
    {"button", ControlClass::Button},       {"edit", ControlClass::Edit},
    {"static", ControlClass::Static},       {"listbox", ControlClass::ListBox},
    {"scrollbar", ControlClass::ScrollBar}, {"combobox", ControlClass::ComboBox},
};

} // namespace

std::optional<DialogTemplate> DialogTemplateFromFields(const DialogTemplateFields& fields,
                                                       const CodePage& codePage) {
    DialogTemplate dialog;
    dialog.style = fields.style;
    dialog.exStyle = fields.exStyle;
    dialog.x = fields.x;
    dialog.y = fields.y;
    dialog.cx = fields.cx;
    dialog.cy = fields.cy;
    dialog.menu = fields.menu.ordinal || !fields.menu.text.empty() ? NameText(fields.menu, codePage)
                                                                   : std::string{};
    dialog.className = fields.windowClass.ordinal || !fields.windowClass.text.empty()
                           ? NameText(fields.windowClass, codePage)
                           : std::string{};
    dialog.caption = ToAnsi(fields.title, codePage);
    dialog.pointSize = fields.pointSize;
    dialog.typeface = ToAnsi(fields.typeface, codePage);
    for (const auto& field : fields.items) {
        DialogItemTemplate item;
        item.style = field.style;
        item.exStyle = field.exStyle;
        item.x = field.x;
        item.y = field.y;
        item.cx = field.cx;
        item.cy = field.cy;
        item.id = field.id;
        if (field.windowClass.ordinal) {
            WORD ordinal = *field.windowClass.ordinal;
            if (ordinal < 0x0080 || ordinal > 0x0085)
                return std::nullopt;
            item.controlClass = static_cast<ControlClass>(ordinal);
        } else {
            item.className = ToAnsi(field.windowClass.text, codePage);
            item.controlClass = ControlClass::Named;
            for (const auto& [name, cls] : kClassNames) {
                if (text::EqualsIgnoreCase(item.className, name)) {
                    item.controlClass = cls;
                    item.className.clear();
                }
            }
        }
        item.text = field.title.ordinal ? NameText(field.title, codePage)
                                        : ToAnsi(field.title.text, codePage);
        dialog.items.push_back(std::move(item));
    }
    return dialog;
}

std::optional<DialogTemplate> DialogTemplateFromBytes(std::span<const BYTE> bytes,
                                                      const CodePage& codePage) {
    auto fields = ReadDialogTemplate(bytes);
    if (!fields)
        return std::nullopt;
    return DialogTemplateFromFields(*fields, codePage);
}

DialogTemplateFields FieldsFromDialogTemplate(const DialogTemplate& dialog,
                                              const CodePage& codePage) {
    DialogTemplateFields fields;
    fields.style = dialog.style;
    fields.exStyle = dialog.exStyle;
    fields.x = dialog.x;
    fields.y = dialog.y;
    fields.cx = dialog.cx;
    fields.cy = dialog.cy;
    fields.menu.text = ToUtf16(dialog.menu, codePage);
    fields.windowClass.text = ToUtf16(dialog.className, codePage);
    fields.title = ToUtf16(dialog.caption, codePage);
    if (dialog.style & kDsSetFont) {
        fields.pointSize = dialog.pointSize;
        fields.typeface = ToUtf16(dialog.typeface, codePage);
    }
    for (const auto& item : dialog.items) {
        DialogItemFields field;
        field.style = item.style;
        field.exStyle = item.exStyle;
        field.x = item.x;
        field.y = item.y;
        field.cx = item.cx;
        field.cy = item.cy;
        field.id = item.id;
        if (item.controlClass == ControlClass::Named)
            field.windowClass.text = ToUtf16(item.className, codePage);
        else
            field.windowClass.ordinal = static_cast<WORD>(item.controlClass);
        field.title.text = ToUtf16(item.text, codePage);
        fields.items.push_back(std::move(field));
    }
    return fields;
}

} // namespace tl::ui
