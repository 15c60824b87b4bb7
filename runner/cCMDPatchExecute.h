#pragma once
#include "SharedCode6/Class/cCMDCommands.h"

// "execute": applies the embedded patch unattended.
class TCMDPatchExecute : public TCustomCMDCommand {
  public:
    static std::string GetName();
    static std::string GetDescription();
    static void PrintHelp();
    void Execute() override;
};
