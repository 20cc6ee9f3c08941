// Dialog templates read from arbitrary bytes: never a crash, and whatever is read builds again
// into bytes that read back the same.
#include "dialogs/memory_dialogs_layout.h"
#include "resources/dialog_template_builder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = tl::ReadDialogTemplate(std::span(data, size));
    if (!fields) {
        return 0;
    }
    tl::DialogTemplateBuilder builder(size * 2 + 64);
    if (!tl::BuildDialogTemplate(*fields, builder)) {
        return 0;
    }
    const auto again = tl::ReadDialogTemplate(builder.Block());
    if (!again || !(*again == *fields)) {
        std::abort();
    }
    return 0;
}
