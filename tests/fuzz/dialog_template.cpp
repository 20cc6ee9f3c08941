// Dialog templates read from arbitrary bytes: whatever is read builds again into bytes that read
// back the same.
#include "dialogs/memory_dialogs_layout.h"
#include "fuzz.h"
#include "resources/dialog_template_builder.h"

TL_FUZZ_TARGET(bytes) {
    const auto fields = tl::ReadDialogTemplate(bytes);
    if (!fields)
        return;
    tl::DialogTemplateBuilder builder(bytes.size() * 2 + 64);
    if (!tl::BuildDialogTemplate(*fields, builder))
        return;
    const auto again = tl::ReadDialogTemplate(builder.Block());
    tl::fuzz::Check(again && *again == *fields);
}
