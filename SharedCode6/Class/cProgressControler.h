#pragma once
// The progress display the backup and restore components report to, its do-nothing
// implementation for callers without a display, and the program's shared exception classes.
#include "platform/core/Error.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace intf_id {
inline constexpr const char* IInterface = "{00000000-0000-0000-C000-000000000046}";
inline constexpr const char* IShowProgress = "{ABCDD18A-464D-416F-8751-ED2D9CFB79C7}";
} // namespace intf_id

class IShowProgress {
  public:
    virtual ~IShowProgress() = default;
    virtual void BeginProgress(const std::string& totalCaption,
                               const std::string& detailCaption) = 0;
    virtual void SetTotalRange(int32_t min, int32_t max, int32_t position) = 0;
    virtual void SetDetailRange(int32_t min, int32_t max, int32_t position) = 0;
    virtual void SetTotalCaption(const std::string& text) = 0;
    virtual void SetDetailCaption(const std::string& text) = 0;
    virtual void SetTotalPosition(int32_t position) = 0;
    virtual void SetDetailPosition(int32_t position) = 0;
    virtual bool IsCancelled() = 0;
    virtual void EndProgress() = 0;
};

// Answers of QueryInterface.
inline constexpr int32_t kInterfaceFound = 0;
inline constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002u);

// Base of objects that live by their own rule instead of a reference count: AddRef counts
// nothing and answers 1; Release answers 1 and does nothing until the object is finished, after
// which the first Release frees an object that owns itself (made by OwnSelf) and answers 0.
// Objects held by a std::shared_ptr are freed by their owner instead.
class TcNullInterfacedObject {
  public:
    TcNullInterfacedObject() = default;
    virtual ~TcNullInterfacedObject() = default;
    TcNullInterfacedObject(const TcNullInterfacedObject&) = delete;
    TcNullInterfacedObject& operator=(const TcNullInterfacedObject&) = delete;

    int32_t AddRef() { return 1; }
    int32_t Release();
    // Sets obj to the interface named by iid and answers kInterfaceFound, or clears obj and
    // answers kNoInterface.
    virtual int32_t QueryInterface(std::string_view iid, void*& obj);

    bool IsFinished() const { return finished_; }

  protected:
    void Finish() { finished_ = true; }
    // Hands the object to itself: from now on its lifetime follows Release.
    template <class T> static T* OwnSelf(std::unique_ptr<T> object) {
        T* raw = object.get();
        raw->self_ = std::move(object);
        return raw;
    }

  private:
    bool finished_ = false;
    std::unique_ptr<TcNullInterfacedObject> self_;
};

// Does nothing; IsCancelled answers false and EndProgress finishes the object.
class TcNullIShowProgressImp : public TcNullInterfacedObject, public IShowProgress {
  public:
    // An object that owns itself: it is freed by the first Release after EndProgress.
    static TcNullIShowProgressImp* Create();

    int32_t QueryInterface(std::string_view iid, void*& obj) override;

    void BeginProgress(const std::string&, const std::string&) override {}
    void SetTotalRange(int32_t, int32_t, int32_t) override {}
    void SetDetailRange(int32_t, int32_t, int32_t) override {}
    void SetTotalCaption(const std::string&) override {}
    void SetDetailCaption(const std::string&) override {}
    void SetTotalPosition(int32_t) override {}
    void SetDetailPosition(int32_t) override {}
    bool IsCancelled() override { return false; }
    void EndProgress() override { Finish(); }
};

// A do-nothing progress display owned by the caller.
std::shared_ptr<IShowProgress> CreateNullShowProgress();

// Exceptions of the program; each carries only its message.
class ENotScriptMaked : public pr::Error {
  public:
    static constexpr const char* kMessage =
        "Розробнику. Операція генерування скриптів повинна виконуватись\r\nраніше, ніж операція "
        "TcScriptGenerator.IsScriptExists ";
    explicit ENotScriptMaked(const std::string& message = kMessage) : pr::Error(message) {}
};

class EBadArchivIniFile : public pr::Error {
  public:
    static constexpr const char* kMissingSections =
        "В архіві відсутні секції \"ORACLE HOME\" та \"Диск архіву\"";
    static constexpr const char* kMalformedSections =
        "Невірно сформовані секції файлу налаштування архіву";
    static constexpr const char* kBadServerVersion = "Недопустима версія серверних файлів архіву";
    using pr::Error::Error;
};

class EMustntQuest : public pr::Error {
  public:
    static constexpr const char* kMessage =
        "В даному режимі немає можливости \r\nотримати логін та пароль користувача";
    explicit EMustntQuest(const std::string& message = kMessage) : pr::Error(message) {}
};

// The message is built by the raiser.
class ENotEnableFileGroup : public pr::Error {
  public:
    using pr::Error::Error;
};

class EUserRejectQuest : public pr::Error {
  public:
    static constexpr const char* kMessage =
        "Користувач відмовився від вводу параметрів підключення";
    explicit EUserRejectQuest(const std::string& message = kMessage) : pr::Error(message) {}
};

class ECanntChangeSysPassword : public pr::Error {
  public:
    static constexpr const char* kMessage = "Недостатньо прав для відновлення резервної копії";
    explicit ECanntChangeSysPassword(const std::string& message = kMessage) : pr::Error(message) {}
};

class EManyWrongAnswers : public pr::Error {
  public:
    static constexpr const char* kMessage = "Перевищений ліміт правильних спроб підключення";
    explicit EManyWrongAnswers(const std::string& message = kMessage) : pr::Error(message) {}
};
