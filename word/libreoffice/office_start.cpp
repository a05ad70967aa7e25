// Starting the office for a program that reaches it over a pipe.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "word/libreoffice/connection.h"
#include "word/libreoffice/libreoffice.h"

extern char** environ;

namespace word::libreoffice {

void launchOffice(std::string_view pipeName) {
    // An office that is not there cannot be started: say so at once rather than wait for it.
    if (::access(QV_LIBREOFFICE_PROGRAM_DIR "/soffice", X_OK) != 0)
        throw word::Error("the word processor is not installed");
    // The office must outlive this program: start it in a session of its own through a shell
    // that returns at once (the pipe name holds only letters, digits and '_').
    const std::string command = "setsid '" QV_LIBREOFFICE_PROGRAM_DIR "/soffice' --norestore '" +
                                acceptArgument(pipeName) + "' >/dev/null 2>&1 </dev/null &";
    std::string sh = "/bin/sh", c = "-c", cmd = command;
    char* argv[] = {sh.data(), c.data(), cmd.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0)
        throw word::Error("cannot start the word processor");
    int status = 0;
    ::waitpid(pid, &status, 0);
}

}  // namespace word::libreoffice
