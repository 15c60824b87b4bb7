#include "SharedCode6/Class/cProgressControler.h"
#include "SharedCode6/Lib/libProgressCaption.h"

#include <gtest/gtest.h>

#include <typeindex>

namespace {

// Ten pixels per character.
int TenPerCharacter(const std::string& text) {
    int characters = 0;
    for (unsigned char c : text)
        characters += (c & 0xC0) != 0x80;
    return characters * 10;
}

struct FitCase {
    const char* name;
    std::string prefix;
    std::string text;
    int barWidth;
    std::string shown;
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.name;
}

class FitCaptionCase : public testing::TestWithParam<FitCase> {};

TEST_P(FitCaptionCase, Shown) {
    const FitCase& c = GetParam();
    EXPECT_EQ(FitCaption(c.prefix, c.text, c.barWidth, TenPerCharacter), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, FitCaptionCase,
    testing::Values(FitCase{"FitsWithRoomForDots", "", "Hello", 80, "Hello"},
                    FitCase{"CutToTheBar", "", "Hello world", 80, "Hello..."},
                    FitCase{"CutCyrillicByCharacters", "", "Привіт світ", 60, "При..."},
                    FitCase{"CutAtBlankIsTrimmed", "", "ab   cd", 70, "ab..."},
                    FitCase{"TrailingBlankGetsDots", "", "Hello ", 1000, "Hello..."},
                    FitCase{"LeadingBlankGetsDots", "", " 25%", 1000, "25%..."},
                    FitCase{"Prefix", "Крок", "Upd1.0.0.4\\040_views.sql", 1000,
                            "Крок: Upd1.0.0.4\\040_views.sql"},
                    FitCase{"PrefixWithEmptyText", "Крок", "", 1000, "Крок:..."},
                    FitCase{"EmptyCaptionStops", "", "", 0, ""},
                    FitCase{"NothingFits", "", "abc", 0, "..."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgressCaption, PercentAndStopQuery) {
    EXPECT_EQ(PercentCaption(25), "25%");
    EXPECT_EQ(PercentCaption(0), "0%");
    EXPECT_FALSE(IsProgressStopped());
}

// Reports its own destruction.
class Probe : public TcNullIShowProgressImp {
  public:
    static Probe* Create(bool& destroyed) { return OwnSelf(std::make_unique<Probe>(destroyed)); }
    explicit Probe(bool& destroyed) : destroyed_(destroyed) {}
    ~Probe() override { destroyed_ = true; }

  private:
    bool& destroyed_;
};

TEST(NullShowProgress, ReleaseFreesOnlyAfterEndProgress) {
    bool destroyed = false;
    Probe* probe = Probe::Create(destroyed);
    EXPECT_EQ(probe->AddRef(), 1);
    EXPECT_EQ(probe->AddRef(), 1);
    EXPECT_EQ(probe->Release(), 1);
    EXPECT_EQ(probe->Release(), 1);
    EXPECT_FALSE(destroyed);

    IShowProgress& progress = *probe;
    progress.BeginProgress("Резервне копіювання", "Файл");
    progress.SetTotalRange(0, 10, 5);
    progress.SetDetailPosition(3);
    EXPECT_FALSE(progress.IsCancelled());
    progress.EndProgress();
    EXPECT_FALSE(destroyed);
    EXPECT_TRUE(probe->IsFinished());
    EXPECT_EQ(probe->Release(), 0);
    EXPECT_TRUE(destroyed);
}

TEST(NullShowProgress, QueryInterface) {
    TcNullIShowProgressImp* object = TcNullIShowProgressImp::Create();
    void* found = nullptr;
    EXPECT_EQ(object->QueryInterface("{abcdd18a-464d-416f-8751-ed2d9cfb79c7}", found),
              kInterfaceFound);
    EXPECT_EQ(found, static_cast<IShowProgress*>(object));
    EXPECT_EQ(object->QueryInterface(intf_id::IInterface, found), kInterfaceFound);
    EXPECT_EQ(found, static_cast<TcNullInterfacedObject*>(object));
    EXPECT_EQ(object->QueryInterface("{F737C738-44B7-49D0-9A9B-8BFC66CD5268}", found),
              kNoInterface);
    EXPECT_EQ(found, nullptr);
    object->EndProgress();
    EXPECT_EQ(object->Release(), 0);
}

TEST(NullShowProgress, SharedOneBelongsToItsOwner) {
    std::shared_ptr<IShowProgress> progress = CreateNullShowProgress();
    progress->EndProgress();
    // Its owner frees it, not Release.
    auto& object = dynamic_cast<TcNullInterfacedObject&>(*progress);
    EXPECT_EQ(object.Release(), 0);
    EXPECT_FALSE(progress->IsCancelled());
}

TEST(ProgramExceptions, CarryTheirMessages) {
    struct Case {
        std::exception_ptr error;
        std::type_index type;
        std::string message;
    };
    const Case cases[] = {
        {std::make_exception_ptr(ENotScriptMaked()), typeid(ENotScriptMaked),
         "Розробнику. Операція генерування скриптів повинна виконуватись\r\nраніше, ніж операція "
         "TcScriptGenerator.IsScriptExists "},
        {std::make_exception_ptr(EBadArchivIniFile(EBadArchivIniFile::kMissingSections)),
         typeid(EBadArchivIniFile), "В архіві відсутні секції \"ORACLE HOME\" та \"Диск архіву\""},
        {std::make_exception_ptr(EBadArchivIniFile(EBadArchivIniFile::kMalformedSections)),
         typeid(EBadArchivIniFile), "Невірно сформовані секції файлу налаштування архіву"},
        {std::make_exception_ptr(EBadArchivIniFile(EBadArchivIniFile::kBadServerVersion)),
         typeid(EBadArchivIniFile), "Недопустима версія серверних файлів архіву"},
        {std::make_exception_ptr(EMustntQuest()), typeid(EMustntQuest),
         "В даному режимі немає можливости \r\nотримати логін та пароль користувача"},
        {std::make_exception_ptr(ENotEnableFileGroup("група 3")), typeid(ENotEnableFileGroup),
         "група 3"},
        {std::make_exception_ptr(EUserRejectQuest()), typeid(EUserRejectQuest),
         "Користувач відмовився від вводу параметрів підключення"},
        {std::make_exception_ptr(ECanntChangeSysPassword()), typeid(ECanntChangeSysPassword),
         "Недостатньо прав для відновлення резервної копії"},
        {std::make_exception_ptr(EManyWrongAnswers()), typeid(EManyWrongAnswers),
         "Перевищений ліміт правильних спроб підключення"},
    };
    for (const Case& c : cases) {
        try {
            std::rethrow_exception(c.error);
        } catch (const pr::Error& e) {
            EXPECT_EQ(std::type_index(typeid(e)), c.type);
            EXPECT_EQ(e.what(), c.message);
        }
    }
}

} // namespace
