// Subcommands of the kvswx command. Each adds itself to the application and
// leaves its exit status in `status` when it runs.
#pragma once

#include <CLI/CLI.hpp>

namespace kvswx::cli {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a run was refused or an input was bad
inline constexpr int kExitUsage = 2;

void AddExtractCommand(CLI::App& app, int& status);
void AddGenCommand(CLI::App& app, int& status);
void AddRoundtripCommand(CLI::App& app, int& status);

}  // namespace kvswx::cli
