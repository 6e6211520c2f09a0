#include "app/program_options.h"

#include <fmt/format.h>

#include <QCommandLineParser>

#include "link/link_kinds.h"

namespace valdrix::gui {

using namespace valdrix::link;

namespace {

// The options that QApplication takes for itself, with a value or without.
const QStringList kQtOptionsWithValue = {"platform",
                                         "platformpluginpath",
                                         "platformtheme",
                                         "plugin",
                                         "qwindowgeometry",
                                         "qwindowicon",
                                         "qwindowtitle",
                                         "display",
                                         "geometry",
                                         "title",
                                         "name",
                                         "session",
                                         "style",
                                         "stylesheet",
                                         "qmljsdebugger"};
const QStringList kQtFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void AddQtOptions(QCommandLineParser& parser) {
    for (const QString& name : kQtOptionsWithValue) {
        QCommandLineOption option(name, {}, "value");
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString& name : kQtFlags) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

}  // namespace

ProgramOptions ParseProgramOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    // "-platform xcb" is one option to Qt, not eight letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"V", "version"});
    const QCommandLineOption link("link", {}, "link");
    const QCommandLineOption defaults("defaults");
    parser.addOptions({help, version, link, defaults});
    AddQtOptions(parser);

    ProgramOptions options;
    if (!parser.parse(arguments)) {
        options.error = parser.errorText().toStdString();
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.error = fmt::format("unexpected argument \"{}\"",
                                    parser.positionalArguments().front().toStdString());
        return options;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.defaults = parser.isSet(defaults);
    if (parser.isSet(link)) {
        const std::string value = parser.value(link).toStdString();
        const auto choice = ParseLinkChoice(value);
        if (!choice) {
            options.error = fmt::format("unknown link \"{}\": use {}", value, OfferedLinks());
            return options;
        }
        options.link = *choice;
    }
    return options;
}

std::string UsageText(const std::string& program) {
    return fmt::format(
        "Usage: {0} {1} [--defaults]\n"
        "       {0} --help | --version\n\n"
        "Remote-control panel for the function and arbitrary waveform generator.\n\n"
        "{2}"
        "  --defaults         start with every page's defaults instead of the fields of\n"
        "                     the last run (they are kept again when the window closes)\n"
        "  -h, --help         show this text\n"
        "  -V, --version      show the version\n",
        program, LinkUsage(), LinkHelp());
}

}  // namespace valdrix::gui
