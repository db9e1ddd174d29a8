// SPDX-License-Identifier: GPL-3.0-or-later
#include "VerbTable.h"

#include "Autostart.h"
#include "ButtonVerbs.h"
#include "CallVerbs.h"
#include "DeviceVerbs.h"
#include "MacroVerbs.h"
#include "ProfileVerbs.h"
#include "SettingVerbs.h"
#include "VerbSession.h"

namespace {
QList<Verb> buildTable() {
    const auto noLocal = [](const QStringList&) { return -1; };
    return {
        {QStringLiteral("list"),
         {},
         QStringLiteral("list the mice found, with their hidraw paths"),
         QStringLiteral("Shows each supported device that is plugged in, with its hidraw paths, and says so\n"
                        "when one is present but this user may not open it (the udev rule is missing, or\n"
                        "the mouse needs a replug after installing it). Exit 3 when none is found."),
         {},
         noLocal,
         {}},
        {QStringLiteral("info"),
         {},
         QStringLiteral("firmware, current profile, DPI stages, report rate, sensor"),
         QStringLiteral("Asks the mouse for its firmware version, stage count and sensor type, and shows the\n"
                        "current profile (1 to 10), current DPI stage and report rate in Hz."),
         {},
         noLocal,
         &DeviceVerbs::info},
        {QStringLiteral("get"), QStringLiteral("dpi|rate|lighting|axis|button [N]|pointer"),
         QStringLiteral("show a setting of the current profile"),
         QStringLiteral("dpi       the six stages' DPI, which are enabled, their colours, the current stage\n"
                        "rate      the report rate in Hz\n"
                        "lighting  the lighting effect and its speed (0 to 4)\n"
                        "axis      the X and Y sensitivity positions (0 to 9)\n"
                        "button    the function of each button (or of button N, 1 to 7)\n"
                        "pointer   cursor speed and double-click speed (0 to 11), scroll lines"),
         SettingVerbs::subjects(), noLocal, &SettingVerbs::get},
        {QStringLiteral("set"), QStringLiteral("SUBJECT VALUES"),
         QStringLiteral("change a setting, stored in the profile and sent to the mouse"),
         QStringLiteral("set dpi [dpi=V1,V2,...] [enabled=1,0,...] [stage=N] [colours=#rrggbb,...]\n"
                        "          up to six values each, from stage 1 on; DPI 200 to 6000 in steps of 100;\n"
                        "          stage 1 to 6\n"
                        "set rate 125|250|500|1000\n"
                        "set lighting off|static|breath|rgb|finger-tapping [SPEED 0-4]\n"
                        "set axis X [Y]          0 to 9 each; Y defaults to X\n"
                        "set button N FUNCTION   N 1 to 7; FUNCTION is a name of the button menu (such as\n"
                        "          Copy, \"Middle Button\", \"DPI LOOP\"), key:NAME, macro:NAME or off\n"
                        "set pointer [speed=0-11] [double-click=0-11] [scroll=1-100|screen]"),
         SettingVerbs::subjects(), noLocal, &SettingVerbs::set},
        {QStringLiteral("profile"), QStringLiteral("list|switch N|copy FROM TO|reset N|export FILE|import FILE"),
         QStringLiteral("list, choose, copy, reset, export or import profiles"),
         QStringLiteral("Profiles are numbered 1 to 10. switch makes N the current profile and sends its\n"
                        "settings to the mouse; export and import work on the current profile's file\n"
                        "(they need quellarctl's own back end: quit a running quellar first)."),
         ProfileVerbs::subjects(), noLocal, &ProfileVerbs::run},
        {QStringLiteral("macro"), QStringLiteral("list|show NAME|export NAME FILE|import FILE NAME|bind NAME BUTTON"),
         QStringLiteral("the macro library: list, show, exchange, bind to a button"),
         QStringLiteral("bind uploads the macro and puts it on BUTTON (1 to 7), as the macro key dialog;\n"
                        "import replaces an existing macro of that name."),
         MacroVerbs::subjects(), noLocal, &MacroVerbs::run},
        {QStringLiteral("call"),
         QStringLiteral("OPERATION [ARG ...] | --list"),
         QStringLiteral("expert mode: run one operation of the window by name"),
         QStringLiteral("Arguments are JSON (a word that is not JSON is a string); prints the answer as\n"
                        "JSON. --list prints every operation with its signature; ui_Ctl.NAME calls the\n"
                        "window controller."),
         {QStringLiteral("--list")},
         &CallVerbs::listOperations,
         [](VerbSession& session, const QStringList& arguments) {
             const auto operations = CallVerbs::fromCall(arguments);
             return operations ? CallVerbs::run(session, *operations) : VerbSession::kExitUsage;
         }},
        {QStringLiteral("script"),
         QStringLiteral("FILE|-"),
         QStringLiteral("expert mode: run operations, one JSON array [\"NAME\", ARG, ...] a line"),
         QStringLiteral("Blank lines and lines starting with # are skipped; a bad line stops the script\n"
                        "before anything runs."),
         {},
         noLocal,
         [](VerbSession& session, const QStringList& arguments) {
             const auto operations = CallVerbs::fromScript(arguments);
             return operations ? CallVerbs::run(session, *operations) : VerbSession::kExitUsage;
         }},
        {QStringLiteral("autostart"),
         QStringLiteral("on|off|status"),
         QStringLiteral("start quellar in the tray at login, or not"),
         QStringLiteral("Writes or removes $XDG_CONFIG_HOME/autostart/quellar.desktop (Exec=quellar --hidden)."),
         {QStringLiteral("on"), QStringLiteral("off"), QStringLiteral("status")},
         &Autostart::run,
         {}},
        {QStringLiteral("virtual"),
         QStringLiteral("press-dpi N|unplug|plug|dump"),
         QStringLiteral("control the virtual mouse of a quellar started with --virtual-device"),
         QStringLiteral("For tests and demonstrations; talks to the running quellar."),
         {QStringLiteral("press-dpi"), QStringLiteral("unplug"), QStringLiteral("plug"), QStringLiteral("dump")},
         noLocal,
         {}},
        {QStringLiteral("help"),
         QStringLiteral("[VERB]"),
         QStringLiteral("this overview, or a verb's own help"),
         {},
         {},
         noLocal,
         {}},
    };
}
} // namespace

const QList<Verb>& VerbTable::verbs() {
    static const QList<Verb> table = buildTable();
    return table;
}

const Verb* VerbTable::find(const QString& name) {
    for (const Verb& verb : verbs()) {
        if (verb.name == name)
            return &verb;
    }
    return nullptr;
}

const QString& VerbTable::exitCodes() {
    static const QString text =
        QStringLiteral("Exit codes:\n"
                       "  0  done\n"
                       "  1  refused or failed: an operation answered false, logged a refusal or a failure,\n"
                       "     or a device transfer failed\n"
                       "  2  usage: unknown verb or operation, wrong arguments, a value out of range\n"
                       "  3  no device: a device command found no device to talk to\n"
                       "  4  busy: a running quellar holds the data folder and the request cannot be\n"
                       "     forwarded to it");
    return text;
}

QString VerbTable::overview() {
    QString text = QStringLiteral("Usage: quellarctl [OPTION ...] VERB [ARGUMENT ...]\n"
                                  "Reads and changes the settings of the mouse from the command line. When quellar\n"
                                  "runs on the same data folder, quellarctl asks it to do the work, so the window and\n"
                                  "the mouse stay in step; otherwise it runs the same back end itself. Every result\n"
                                  "says which one answered.\n\n"
                                  "Verbs:\n");
    for (const Verb& verb : verbs())
        text +=
            QStringLiteral("  %1\n      %2\n").arg((verb.name + QLatin1Char(' ') + verb.usage).trimmed(), verb.summary);
    text += QStringLiteral("\nOptions:\n"
                           "  --json               print labelled JSON objects instead of text\n"
                           "  --data DIR           the data folder (default: as quellar chooses it)\n"
                           "  --virtual-device     use the virtual mouse instead of the real one\n"
                           "  --trace FILE         write the device traffic to FILE (- for standard error)\n"
                           "  --answer-file PATH   the path that file dialogs answer (absent: cancelled)\n"
                           "  --verbose            log more\n"
                           "  -h, --help           show this help, or VERB --help for a verb's own\n"
                           "  -v, --version        show the version\n\n");
    return text + exitCodes() + QLatin1Char('\n');
}

QString VerbTable::helpOf(const Verb& verb) {
    return QStringLiteral("Usage: quellarctl %1\n%2.\n\n%3\n")
        .arg((verb.name + QLatin1Char(' ') + verb.usage).trimmed(), verb.summary, verb.help);
}
