#include "app/startup.h"
#include "platform/application.h"

int main(int argc, char* argv[]) {
    platform::Application application(argc, argv);
    // The program's own full path, never the working directory: DATA.mdb lies beside it.
    return app::run(QCoreApplication::applicationFilePath());
}
