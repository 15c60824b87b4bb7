#pragma once
// Contracts between the patch engine and its host. Reference counting is std::shared_ptr;
// "query an interface" is dynamic_cast. The identities are kept because callers and plug-ins
// name interfaces by them.
#include <cstdint>
#include <memory>
#include <string>

class TOracleSessionEx;
class IPatchParamProvider;

namespace intf_id {
inline constexpr const char* IParamServerConnection = "{A5FBCC1D-FC92-4855-8673-66A3E8B87A89}";
inline constexpr const char* IProgressUpdater = "{2371457B-EEE7-41E1-87A6-F8DC00BEA4C2}";
inline constexpr const char* IPriorityChecker = "{2F921EFA-20BA-4ABE-832E-A6F6E08A55A7}";
inline constexpr const char* IAlgorithmExecutor = "{CAA6C558-7CCD-48FC-B5D5-0DE68E67D93B}";
inline constexpr const char* IPatchExecutor = "{52B73E5F-B8EE-4DB1-A960-945B8D464B55}";
inline constexpr const char* IDataVerifier = "{20393335-F1F3-4C1A-BA7A-F91FF8DE5CF7}";
} // namespace intf_id

// One progress report. A step report carries its position in Value, not in Position.
struct TProgressParam {
    int32_t Min = 0;
    int32_t Value = 0;
    int32_t Position = 0;
    bool IsDetail = false;
    std::string Text;
};

// Start report: bar bounds and initial position.
TProgressParam MakeStartProgress(int32_t min, int32_t max, int32_t position, bool isDetail,
                                 const std::string& text = {});
// Step report: new position of the bar and the caption of the current item.
TProgressParam MakeStepProgress(int32_t value, bool isDetail, const std::string& text);

class IParamServerConnection {
public:
    virtual ~IParamServerConnection() = default;
    virtual TOracleSessionEx& GetSession() = 0;
    // Never raises and never shows a dialog.
    virtual bool Connect() = 0;
    virtual bool IsConnectedAs(const std::string& userName) = 0;
};

class IProgressUpdater {
public:
    virtual ~IProgressUpdater() = default;
    virtual void StartProgress(const TProgressParam& param) = 0;
    virtual void StepProgress(const TProgressParam& param) = 0;
    virtual void AddMessage(const std::string& text) = 0;
    virtual bool IsCancelled() = 0;
    virtual void FinishProgress(int32_t position) = 0;
    virtual void SaveLog(const std::string& name, const std::string& text) = 0;
};

class IPriorityChecker {
public:
    virtual ~IPriorityChecker() = default;
    virtual int32_t GetPriority(const std::string& directoryName) = 0;
    virtual int32_t GetFolderDepth() = 0;
    virtual bool IsServiceScript(const std::string& fileName) = 0;
    virtual void GetCurrentVersion(std::string& version) = 0;
};

class IAlgorithmExecutor {
public:
    virtual ~IAlgorithmExecutor() = default;
    virtual void Execute(IPatchParamProvider& provider) = 0;
    virtual bool HasErrors() = 0;
};

class IVersionConditionChecker {
public:
    virtual ~IVersionConditionChecker() = default;
    virtual bool Check() = 0;
};
