#pragma once
#include "SharedCode6/Class/cCMDCommands.h"

// "extract": writes the embedded package to a file.
class TCMDExtractPatch : public TCustomCMDCommand {
  public:
    static std::string GetName();
    static std::string GetDescription();
    static void PrintHelp();
    void Execute() override;
};
