// The options of the subcommands that reach a broker (gateway, send, numeric): where the broker's
// password and, for mqtts://, the CA to trust come from. The command line wins over section
// "Mqtt" of the settings file (PasswordFile=, CAFile=); the password itself is the first line of
// its file, never an argument, where any user could read it.
#pragma once

#include "comm/ProfileFile.h"

#include <CLI/CLI.hpp>
#include <fstream>
#include <string>
#include <string_view>

namespace zor::tool {

inline constexpr std::string_view MqttSection = "Mqtt";

struct TMqttFiles
{
    std::string PasswordFile;
    std::string CaFile;
};

// Declares --mqtt-password-file FILE and --cafile FILE.
inline void AddMqttFileOptions(CLI::App &app, TMqttFiles &files)
{
    app.add_option("--mqtt-password-file", files.PasswordFile,
                   "The broker's password for USER: the file's first line")
        ->type_name("FILE");
    app.add_option("--cafile", files.CaFile, "With mqtts: the certificate authority to trust")
        ->type_name("FILE");
}

// The password (empty when no file is named) and the CA file, the options laid over section
// "Mqtt" of profile. False, with *problem ("FILE: the password cannot be read"), when the named
// password file cannot be read.
inline bool LoadMqttFiles(const TProfileFile &profile, const TMqttFiles &given,
                          std::string *password, std::string *caFile, std::string *problem)
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
        if (!password->empty() && password->back() == '\r')
            password->pop_back();
    }
    *caFile = !given.CaFile.empty() ? given.CaFile : profile.ReadString(MqttSection, "CAFile", "");
    return true;
}

} // namespace zor::tool
