#include "runner/cCMDExtractPatch.h"

std::string TCMDExtractPatch::GetName() {
    return "extract";
}

std::string TCMDExtractPatch::GetDescription() {
    return "видубуток файлу апдейту ";
}

void TCMDExtractPatch::PrintHelp() {
    TCustomCMDCommand::PrintHelp();
    for (const char* line :
         {"", "Команда видобутку файлу апдейту.", "", "Параметр \"назва файлу апдейту\":",
          " видобуток буде виконано у заданий параметром файл."})
        WriteConsoleLine(line);
}

// Writing the package out is not wired in yet; until then the command explains itself.
void TCMDExtractPatch::Execute() {
    PrintHelp();
}
