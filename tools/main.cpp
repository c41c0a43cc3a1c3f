// kvswx: the host of the extraction library on our machines.
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "platform/os.h"

int main(int argc, char** argv) {
    CLI::App app{"kvswx: extract SolidWorks drawing views (played back from recorded drawings) to swdrawing XML"};
    app.require_subcommand(1);
    int status = kvswx::cli::kExitOk;
    kvswx::cli::AddExtractCommand(app, status);
    kvswx::cli::AddGenCommand(app, status);
    kvswx::cli::AddRoundtripCommand(app, status);
    try {
        // UTF-8 arguments on every system (Windows hands narrow argv over in
        // its ANSI code page).
        std::vector<std::string> args = kvswx::CommandLineUtf8(argc, argv);
        std::vector<char*> pointers;
        for (std::string& arg : args) pointers.push_back(arg.data());
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kvswx::cli::kExitUsage;
    }
    return status;
}
