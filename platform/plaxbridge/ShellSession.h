#pragma once

#include <string>
#include <vector>

class IMixer;

// Runs one shell call on a mixer and answers with exactly one result line
// (ShellFormatter). The operations are named as the IMixer slots and take
// their arguments in the slot's order. An exception thrown to the host is
// reported and its object deleted; a call the shell cannot run (unknown
// operation, wrong argument count or type) is reported without calling the
// mixer. The session never throws.
class ShellSession {
public:
    explicit ShellSession(IMixer* mixer);

    // `call`: the operation name, then its arguments.
    std::string execute(const std::vector<std::string>& call);

    // "NAME ARGS" usage lines of every operation, in table order.
    static std::vector<std::string> usage();

private:
    IMixer* m_mixer;
};
