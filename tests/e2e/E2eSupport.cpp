#include "tests/e2e/E2eSupport.h"

#include <unistd.h>

namespace e2e {

const std::string kBanner = "Модифiкатор бази даних [Версiя 1.0.0.1]\nТОВ \"Мiрельта\"\n\n";

std::string HelpList(const std::string& exeName) {
    return kBanner + "\nВиконання операцiй у консольному режимi.\n\nIнформацiя\n\n" + exeName +
           " -COMMAND [-PARAMS]\n\n"
           "Ключ -COMMAND одна з операцiй: \n"
           "  -HELP   iнформацiя про режими роботи консольного режиму\n"
           "  -EXTRACT   видубуток файлу апдейту \n"
           "  -EXECUTE   виконання апдейту \n"
           "\n\nДля завершення натиснiть [Enter]\n";
}

pr::process::Result RunProgram(const std::string& program, const std::vector<std::string>& args,
                               const std::string& registry, bool unprivileged) {
    pr::process::Options options;
    if (unprivileged && geteuid() == 0)
        options.argv = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
    options.argv.push_back(program);
    options.argv.insert(options.argv.end(), args.begin(), args.end());
    options.env = {{"PATCHRUNNER_REGISTRY", registry}};
    return pr::process::Run(options);
}

} // namespace e2e
