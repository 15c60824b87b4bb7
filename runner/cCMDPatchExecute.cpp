#include "runner/cCMDPatchExecute.h"

std::string TCMDPatchExecute::GetName() {
    return "execute";
}

std::string TCMDPatchExecute::GetDescription() {
    return "виконання апдейту ";
}

void TCMDPatchExecute::PrintHelp() {
    TCustomCMDCommand::PrintHelp();
    for (const char* line :
         {"", "Команда виконання апдейту.", "",
          "Перший параметр обов'язковий: \"ім'я файлу помилок\"!",
          "Другий параметр не обов'язковий: \"ім'я скрипта\" після якого необхідно перервати "
          "виконання оновлення",
          "", "Приклад:", "tez.exe -execute c:\\out.out UPD1.0.9.8",
          "Буде виконане оновлення, лог збережено в c:\\out.out, оновлення перерветься після "
          "скрипта Upd1.0.9.8.1/010_script.sql",
          "", "Якщо при виконанні патчу відбулася помилка код повернення програми -1", ""})
        WriteConsoleLine(line);
}

// The unattended run is not wired in yet; until then the command explains itself.
void TCMDPatchExecute::Execute() {
    PrintHelp();
}
