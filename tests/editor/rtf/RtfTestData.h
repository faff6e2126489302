// The RTF test files under ZOR_RTF_TEST_DATA, read whole as the bytes on disk.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace zor::rtf {

// The bytes of the named test file; empty when it cannot be read.
inline std::string DataFile(const std::string &name)
{
    std::ifstream in(std::string(ZOR_RTF_TEST_DATA) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace zor::rtf
