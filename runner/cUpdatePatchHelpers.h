#pragma once
// Host-side contracts of a run: the window's executor and its per-folder data check.
#include "runner/cPatchExecIntf.h"

class IPatchExecutor {
public:
    virtual ~IPatchExecutor() = default;
    virtual void SetBackupWanted(bool wanted) = 0;
    virtual bool IsBackupWanted() = 0;
    virtual void GetResultFileName(std::string& path) = 0;
    virtual void GetLogText(std::string& text) = 0;
    virtual bool HasErrors() = 0;
    virtual bool Prepare(bool silent) = 0;
    virtual void Execute() = 0;
};

// Answered only by the window; the engine finds it with dynamic_cast on its progress sink.
class IDataVerifier {
public:
    virtual ~IDataVerifier() = default;
    virtual bool VerifyData() = 0;
    virtual bool AskKeepInstalledVersion() = 0;
};
