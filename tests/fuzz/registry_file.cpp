// The REGEDIT4 reader: a failure says why, and a registry it accepts is written as text that reads
// back to the same registry, so that rewriting registry.reg never loses anything.
#include "platform/host/registry_file.h"
#include "fuzz.h"

TL_FUZZ_TARGET(bytes) {
    using tl::fuzz::Check;
    tl::host::RegistryTree tree, reread;
    std::string error;
    if (!tl::host::ParseRegistryText(tl::fuzz::Text(bytes), tree, error))
        return Check(!error.empty());
    const std::string written = tl::host::FormatRegistryText(tree);
    Check(tl::host::ParseRegistryText(written, reread, error));
    Check(tl::host::FormatRegistryText(reread) == written);
}
