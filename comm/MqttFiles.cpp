#include "comm/MqttSend.h"
#include "comm/ProfileFile.h"

#include <fstream>

namespace zor {

bool LoadMqttFiles(const TProfileFile &profile, const TMqttFiles &given, std::string *password,
                   std::string *caFile, std::string *problem)
{
    const std::string passwordFile = !given.PasswordFile.empty()
                                         ? given.PasswordFile
                                         : profile.ReadString(MqttSection, "PasswordFile", "");
    password->clear();
    if (!passwordFile.empty()) {
        std::ifstream in(passwordFile);
        if (!in || !std::getline(in, *password)) {
            *problem = passwordFile + ": the password cannot be read";
            return false;
        }
        // A file written on Windows.
        if (!password->empty() && password->back() == '\r')
            password->pop_back();
    }
    *caFile = !given.CaFile.empty() ? given.CaFile : profile.ReadString(MqttSection, "CAFile", "");
    return true;
}

} // namespace zor
