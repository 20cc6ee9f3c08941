#include "platform/frontend.h"

namespace tl::ui {

const ControlSnapshot* DialogSnapshot::Find(int id) const {
    for (const auto& control : controls) {
        if (control.id == id)
            return &control;
    }
    return nullptr;
}

int MessageBoxRequest::DefaultResult() const {
    bool second = (type & MB_DEFMASK) == MB_DEFBUTTON2;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return second ? IDCANCEL : IDOK;
    case MB_YESNO:
        return second ? IDNO : IDYES;
    default:
        return IDOK;
    }
}

} // namespace tl::ui
