// The options of the subcommands that reach a broker (gateway, send, numeric): where the broker's
// password and, for mqtts://, the CA to trust come from (LoadMqttFiles, comm/MqttSend.h).
#pragma once

#include "comm/MqttSend.h"

#include <CLI/CLI.hpp>
#include <string>

namespace zor::tool {

// Declares --mqtt-password-file FILE and --cafile FILE.
inline void AddMqttFileOptions(CLI::App &app, TMqttFiles &files)
{
    app.add_option("--mqtt-password-file", files.PasswordFile,
                   "The broker's password for USER: the file's first line")
        ->type_name("FILE");
    app.add_option("--cafile", files.CaFile, "With mqtts: the certificate authority to trust")
        ->type_name("FILE");
}

} // namespace zor::tool
