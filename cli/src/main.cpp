// orvane: the command-line front end over Orvane's libraries.

#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

#include "CommandSupport.h"
#include "Commands.h"

int main(int argc, char** argv) {
    CLI::App app{"Orvane: A-share stock screening from the command line"};
    app.require_subcommand(1);
    bool verbose = false;
    app.add_flag("-v,--verbose", verbose, "write the engine's log lines to stderr");
    // Global options count anywhere on the line: a subcommand hands the ones
    // it does not know to the app (subcommands inherit this when added).
    app.fallthrough();
    app.footer(orvane::cli::kExitStatusHelp);

    orvane::cli::addCsv2HistCommands(app);
    orvane::cli::addAnalyzeCommands(app);
    orvane::cli::addMarketCommands(app);
    orvane::cli::addReportCommands(app);
    orvane::cli::addBacktestCommand(app);
    orvane::cli::addScreenCommand(app);
    // Commands with statuses of their own say so in their own footer.
    for (CLI::App* command : app.get_subcommands({}))
        if (command->get_footer().empty()) command->footer(orvane::cli::kExitStatusHelp);

    // Log lines go to stderr, so stdout stays machine-readable.
    spdlog::set_default_logger(spdlog::stderr_color_mt("orvane"));
    app.parse_complete_callback(
        [&] { spdlog::set_level(verbose ? spdlog::level::info : spdlog::level::warn); });
    try {
        app.parse(argc, argv);
    } catch (const CLI::RuntimeError& e) {
        return e.get_exit_code();  // the command said why already
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);  // prints help, or the usage error
        return status == 0 ? orvane::cli::kDone : orvane::cli::kBadUsage;
    }
    return orvane::cli::kDone;
}
