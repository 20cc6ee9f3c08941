// The host's writers of sample executables and SZDD files are plain C++ with no host calls; the
// Windows contract tests make their sample files with them too, so both adapters read the same
// bytes.
#include "../../../src/platform/host/szdd_compressor.cpp"
#include "../../../src/platform/host/version_block_writer.cpp"
#include "../../../src/platform/host/version_image_writer.cpp"
