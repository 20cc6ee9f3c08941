// tlinf: a setup script exactly as the installer reads it.
#include "platform/host/direct_file_system.h"
#include "startup/inf_tool.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    tl::host::DirectFileSystem files;
    const int code = tl::RunInfTool(args, files, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? code : 2;
}
