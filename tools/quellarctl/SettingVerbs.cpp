// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingVerbs.h"

#include "ArgumentRules.h"
#include "ButtonVerbs.h"
#include "RuleScript.h"
#include "VerbSession.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

namespace {
constexpr int kStages = 6;
constexpr int kLowestDpi = 200;
constexpr int kHighestDpi = 6000;
constexpr int kDpiStep = 100;
constexpr int kColourTableType = 1; // the stage colours' table
constexpr int kOption2 = 2;         // what the lighting panel always passes
constexpr int kHighestLightSpeed = 4;
constexpr int kHighestAxis = 9;
constexpr int kHighestDial = 11; // cursor and double-click speed
constexpr int kMostScrollLines = 100;
constexpr int kScreenAtATime = 1000;

const QStringList kSubjects{QStringLiteral("dpi"),  QStringLiteral("rate"),   QStringLiteral("lighting"),
                            QStringLiteral("axis"), QStringLiteral("button"), QStringLiteral("pointer")};
// Report rate codes 1, 2, 4, 8 are milliseconds between reports.
const QList<int> kRatesHz{125, 250, 500, 1000};
constexpr int kMillisecondHz = 1000;
// Effects 1 to 4 of the lighting panel, by its mode names.
const QStringList kEffectNames{QStringLiteral("static"), QStringLiteral("breath"), QStringLiteral("rgb"),
                               QStringLiteral("finger-tapping")};

// Each braced value is one argument, lists included.
QJsonValue rule(const QString& function, std::initializer_list<QJsonValue> arguments) {
    return RuleScript::instance().call(function, QJsonArray(arguments));
}

QString joined(const QJsonArray& values) {
    QStringList texts;
    for (const auto& value : values)
        texts.append(value.isBool() ? (value.toBool() ? QStringLiteral("on") : QStringLiteral("off"))
                                    : value.toVariant().toString());
    return texts.join(QLatin1Char(','));
}

int usageOfSet(const QString& subject, const QString& why) {
    return VerbSession::usage(QStringLiteral("set %1: %2 (see quellarctl set --help)").arg(subject, why));
}

// Reads "a,b,c" into `into` (a list of the stages' current values), each checked by `read`.
bool readList(const QString& text, QJsonArray& into,
              const std::function<std::optional<QJsonValue>(const QString&)>& read) {
    const QStringList words = text.split(QLatin1Char(','));
    if (words.size() > into.size())
        return false;
    for (int i = 0; i < words.size(); ++i) {
        const std::optional<QJsonValue> value = read(words[i].trimmed());
        if (!value)
            return false;
        into[i] = *value;
    }
    return true;
}
// The given values, and the current ones where none was given.
QJsonArray overlay(const QJsonArray& given, const QJsonValue& current) {
    QJsonArray result = current.toArray();
    for (int i = 0; i < given.size() && i < result.size(); ++i) {
        if (!given[i].isNull())
            result[i] = given[i];
    }
    return result;
}

// A `set dpi` request: what is given, stage by stage (null: kept).
struct DpiRequest {
    QJsonArray values = keptStages();
    QJsonArray inUse = keptStages();
    QJsonArray colours = keptStages();
    bool valuesGiven = false;
    bool inUseGiven = false;
    bool coloursGiven = false;
    std::optional<int> stage;

    static QJsonArray keptStages() {
        return {QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue()};
    }
};

std::optional<QJsonValue> readDpiValue(const QString& value, QString* error) {
    const auto dpi = ArgumentRules::number(value, kLowestDpi, kHighestDpi, QStringLiteral("a DPI value"), error);
    if (dpi && *dpi % kDpiStep != 0)
        *error = QStringLiteral("DPI values go in steps of %1, not %2").arg(kDpiStep).arg(*dpi);
    return dpi && *dpi % kDpiStep == 0 ? std::optional<QJsonValue>(*dpi) : std::nullopt;
}

std::optional<QJsonValue> readToggle(const QString& value) {
    if (value == QLatin1String("1") || value == QLatin1String("on"))
        return true;
    if (value == QLatin1String("0") || value == QLatin1String("off"))
        return false;
    return std::nullopt;
}

std::optional<QJsonValue> readColour(const QString& value) {
    static const QRegularExpression kColour(QStringLiteral("^#[0-9a-fA-F]{6}$"));
    return kColour.match(value).hasMatch() ? std::optional<QJsonValue>(value.toLower()) : std::nullopt;
}

// One word of `set dpi` into the request; why it is refused, else nothing.
std::optional<QString> readDpiWord(const QString& word, DpiRequest& request) {
    QString error;
    if (const auto text = ArgumentRules::keyed(word, QStringLiteral("dpi"))) {
        request.valuesGiven = true;
        if (!readList(*text, request.values, [&error](const QString& value) { return readDpiValue(value, &error); }))
            return error.isEmpty() ? QStringLiteral("at most six DPI values") : error;
    } else if (const auto text = ArgumentRules::keyed(word, QStringLiteral("enabled"))) {
        request.inUseGiven = true;
        if (!readList(*text, request.inUse, readToggle))
            return QStringLiteral("enabled= takes up to six of 1/on and 0/off");
    } else if (const auto text = ArgumentRules::keyed(word, QStringLiteral("stage"))) {
        request.stage = ArgumentRules::number(*text, 1, kStages, QStringLiteral("the DPI stage"), &error);
        if (!request.stage)
            return error;
    } else if (const auto text = ArgumentRules::keyed(word, QStringLiteral("colours"))) {
        request.coloursGiven = true;
        if (!readList(*text, request.colours, readColour))
            return QStringLiteral("colours= takes up to six #rrggbb");
    } else {
        return QStringLiteral("unknown setting \"%1\"").arg(word);
    }
    return std::nullopt;
}

// The stages nothing was given for keep what the mouse holds.
void overlayCurrentDpi(VerbSession& session, DpiRequest& request) {
    request.values = overlay(request.values, rule(QStringLiteral("PanelMath.stageValues"),
                                                  {session.call(QStringLiteral("ui_91H_GetDPISet"))}));
    request.inUse = overlay(request.inUse, rule(QStringLiteral("PanelMath.stageInUse"),
                                                {session.call(QStringLiteral("ui_91H_GetDPISelect"))}));
    if (request.coloursGiven)
        request.colours = overlay(request.colours,
                                  rule(QStringLiteral("PanelMath.stageColours"),
                                       {session.call(QStringLiteral("ui_90H_GetLED8StageColor"), {kColourTableType})}));
}

// As the DPI panel: the toggles first, then the stage values with their codes.
void sendDpi(VerbSession& session, const DpiRequest& request) {
    if (request.inUseGiven)
        session.call(QStringLiteral("ui_11H_SetDPISelect"),
                     {rule(QStringLiteral("PanelMath.dpiSelectList"), {request.inUse})});
    if (request.valuesGiven || request.inUseGiven)
        session.call(QStringLiteral("ui_11H_SetDPISet"),
                     {kStages, rule(QStringLiteral("PanelMath.dpiCodeList"), {request.values, request.inUse}),
                      rule(QStringLiteral("PanelMath.dpiValueList"), {request.values})});
    if (request.stage)
        session.call(QStringLiteral("ui_0BH_SetCurrentDPIStage"), {*request.stage});
    if (request.coloursGiven)
        session.call(QStringLiteral("ui_10H_SetLED8StageColor"),
                     {kColourTableType, rule(QStringLiteral("PanelMath.stageColourList"), {request.colours})});
}
} // namespace

const QStringList& SettingVerbs::subjects() {
    return kSubjects;
}

int SettingVerbs::get(VerbSession& session, const QStringList& arguments) {
    const QString subject = arguments.value(0);
    if (subject == QLatin1String("button")) {
        const int code = ButtonVerbs::get(session, arguments.mid(1));
        return code >= 0 ? code : session.finish();
    }
    if (subject == QLatin1String("dpi"))
        getDpi(session);
    else if (subject == QLatin1String("rate"))
        getRate(session);
    else if (subject == QLatin1String("lighting"))
        getLighting(session);
    else if (subject == QLatin1String("axis"))
        getAxis(session);
    else if (subject == QLatin1String("pointer"))
        getPointer(session);
    else
        return VerbSession::usage(QStringLiteral("get what? one of: ") + kSubjects.join(QLatin1Char(' ')));
    return session.finish();
}

int SettingVerbs::set(VerbSession& session, const QStringList& arguments) {
    const QString subject = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    int code = -1;
    if (subject == QLatin1String("dpi"))
        code = setDpi(session, rest);
    else if (subject == QLatin1String("rate"))
        code = setRate(session, rest);
    else if (subject == QLatin1String("lighting"))
        code = setLighting(session, rest);
    else if (subject == QLatin1String("axis"))
        code = setAxis(session, rest);
    else if (subject == QLatin1String("button"))
        code = ButtonVerbs::set(session, rest);
    else if (subject == QLatin1String("pointer"))
        code = setPointer(session, rest);
    else
        return VerbSession::usage(QStringLiteral("set what? one of: ") + kSubjects.join(QLatin1Char(' ')));
    return code >= 0 ? code : session.finish();
}

void SettingVerbs::getDpi(VerbSession& session, int setStage) {
    const QJsonArray values =
        rule(QStringLiteral("PanelMath.stageValues"), {session.call(QStringLiteral("ui_91H_GetDPISet"))}).toArray();
    const QJsonArray inUse =
        rule(QStringLiteral("PanelMath.stageInUse"), {session.call(QStringLiteral("ui_91H_GetDPISelect"))}).toArray();
    const QJsonArray colours = rule(QStringLiteral("PanelMath.stageColours"),
                                    {session.call(QStringLiteral("ui_90H_GetLED8StageColor"), {kColourTableType})})
                                   .toArray();
    // 0: the mouse did not answer.
    const int stage = setStage > 0 ? setStage : session.call(QStringLiteral("getDeviceDpiStage")).toInt();
    session.put(QStringLiteral("dpi"), values, joined(values));
    session.put(QStringLiteral("enabled"), inUse, joined(inUse));
    session.put(QStringLiteral("colours"), colours, joined(colours));
    session.put(QStringLiteral("stage"), stage > 0 ? QJsonValue(stage) : QJsonValue(),
                stage > 0 ? QString::number(stage) : QStringLiteral("unknown (the mouse did not answer)"),
                QStringLiteral("current stage"));
}

int SettingVerbs::setDpi(VerbSession& session, const QStringList& arguments) {
    if (arguments.isEmpty())
        return usageOfSet(QStringLiteral("dpi"), QStringLiteral("give dpi=, enabled=, stage= or colours="));
    // The arguments are read before the mouse is opened.
    DpiRequest request;
    for (const QString& word : arguments) {
        if (const std::optional<QString> why = readDpiWord(word, request))
            return usageOfSet(QStringLiteral("dpi"), *why);
    }
    overlayCurrentDpi(session, request);
    sendDpi(session, request);
    if (session.callable())
        getDpi(session, request.stage.value_or(0));
    return -1;
}

void SettingVerbs::getRate(VerbSession& session) {
    const int code = session.call(QStringLiteral("ui_81H_GetReportRate")).toInt();
    const bool known = code > 0 && kMillisecondHz % code == 0;
    session.put(QStringLiteral("rateHz"), known ? QJsonValue(kMillisecondHz / code) : QJsonValue(),
                known ? QStringLiteral("%1 Hz").arg(kMillisecondHz / code) : QStringLiteral("not set"),
                QStringLiteral("report rate"));
}

int SettingVerbs::setRate(VerbSession& session, const QStringList& arguments) {
    const int hz = arguments.value(0).toInt();
    if (arguments.size() != 1 || !kRatesHz.contains(hz))
        return usageOfSet(QStringLiteral("rate"),
                          QStringLiteral("the report rate is one of 125, 250, 500, 1000 (Hz), not \"%1\"")
                              .arg(arguments.join(QLatin1Char(' '))));
    session.call(QStringLiteral("ui_01H_SetReportRate"), {kMillisecondHz / hz});
    if (session.callable())
        getRate(session);
    return -1;
}

void SettingVerbs::getLighting(VerbSession& session) {
    const QJsonObject shown =
        rule(QStringLiteral("PanelMath.lightFromStored"), {session.call(QStringLiteral("ui_8DH_GetRGBLedEffect"))})
            .toObject();
    const int effect = shown.value(QStringLiteral("effect")).toInt();
    const int speed = shown.value(QStringLiteral("position")).toInt();
    const QString name = effect == 1 && speed == 0 ? QStringLiteral("off") : kEffectNames.value(effect - 1);
    session.put(QStringLiteral("effect"), name, name);
    session.put(QStringLiteral("speed"), speed, QString::number(speed));
}

int SettingVerbs::setLighting(VerbSession& session, const QStringList& arguments) {
    const QString name = arguments.value(0).toLower();
    const bool off = name == QLatin1String("off");
    const int effect = off ? 1 : int(kEffectNames.indexOf(name)) + 1;
    if (arguments.isEmpty() || arguments.size() > 2 || effect == 0)
        return usageOfSet(QStringLiteral("lighting"),
                          QStringLiteral("the effect is one of off, ") + kEffectNames.join(QStringLiteral(", ")));
    QString error;
    std::optional<int> speed = off ? 0 : kHighestLightSpeed;
    if (arguments.size() == 2 && !off)
        speed =
            ArgumentRules::number(arguments[1], 0, kHighestLightSpeed, QStringLiteral("the lighting speed"), &error);
    if (!speed)
        return usageOfSet(QStringLiteral("lighting"), error);
    const QJsonObject call = rule(QStringLiteral("PanelMath.lightCall"), {effect, *speed, kOption2}).toObject();
    session.call(QStringLiteral("ui_0DH_SetRGBLedEffect"),
                 {call.value(QStringLiteral("effect")), call.value(QStringLiteral("level")),
                  call.value(QStringLiteral("option2")), call.value(QStringLiteral("configs"))});
    if (session.callable())
        getLighting(session);
    return -1;
}

void SettingVerbs::getAxis(VerbSession& session) {
    for (int axis = 0; axis < 2; ++axis) {
        const QJsonValue stored = session.call(QStringLiteral("getXYSensitive"), {axis});
        const int position = rule(QStringLiteral("PanelMath.axisPositionFromStored"), {stored}).toInt();
        session.put(axis == 0 ? QStringLiteral("x") : QStringLiteral("y"), position, QString::number(position));
    }
}

int SettingVerbs::setAxis(VerbSession& session, const QStringList& arguments) {
    if (arguments.isEmpty() || arguments.size() > 2)
        return usageOfSet(QStringLiteral("axis"), QStringLiteral("give X [Y], each 0 to 9"));
    QString error;
    const std::optional<int> x = ArgumentRules::number(arguments[0], 0, kHighestAxis, QStringLiteral("X"), &error);
    const std::optional<int> y =
        x ? ArgumentRules::number(arguments.value(1, arguments[0]), 0, kHighestAxis, QStringLiteral("Y"), &error)
          : std::nullopt;
    if (!x || !y)
        return usageOfSet(QStringLiteral("axis"), error);
    // As the axis panel: both positions stored, then the device values sent.
    session.call(QStringLiteral("setXYSensitive"), {0, *x});
    session.call(QStringLiteral("setXYSensitive"), {1, *y});
    session.call(QStringLiteral("ui_0EH_SetXYSensitive"), {rule(QStringLiteral("PanelMath.axisDeviceValue"), {*x}),
                                                           rule(QStringLiteral("PanelMath.axisDeviceValue"), {*y})});
    if (session.callable())
        getAxis(session);
    return -1;
}

void SettingVerbs::getPointer(VerbSession& session) {
    const int speed = session.call(QStringLiteral("getCursorSpeed")).toInt();
    const int doubleClick = session.call(QStringLiteral("getDoubleClickSpeed")).toInt();
    const int lines = session.call(QStringLiteral("getVerticalScrollLines")).toInt();
    session.put(QStringLiteral("speed"), speed, QString::number(speed));
    session.put(QStringLiteral("doubleClick"), doubleClick, QString::number(doubleClick),
                QStringLiteral("double-click"));
    session.put(QStringLiteral("scroll"),
                lines == kScreenAtATime ? QJsonValue(QStringLiteral("screen")) : QJsonValue(lines),
                lines == kScreenAtATime ? QStringLiteral("screen") : QString::number(lines));
}

int SettingVerbs::setPointer(VerbSession& session, const QStringList& arguments) {
    if (arguments.isEmpty())
        return usageOfSet(QStringLiteral("pointer"), QStringLiteral("give speed=, double-click= or scroll="));
    QList<std::pair<QString, int>> calls;
    QString error;
    for (const QString& word : arguments) {
        std::optional<int> value;
        QString operation;
        if (const auto text = ArgumentRules::keyed(word, QStringLiteral("speed"))) {
            operation = QStringLiteral("setCursorSpeed");
            value = ArgumentRules::number(*text, 0, kHighestDial, QStringLiteral("speed"), &error);
        } else if (const auto text = ArgumentRules::keyed(word, QStringLiteral("double-click"))) {
            operation = QStringLiteral("setDoubleClickSpeed");
            value = ArgumentRules::number(*text, 0, kHighestDial, QStringLiteral("double-click"), &error);
        } else if (const auto text = ArgumentRules::keyed(word, QStringLiteral("scroll"))) {
            operation = QStringLiteral("setVerticalScrollLines");
            value = *text == QLatin1String("screen")
                        ? kScreenAtATime
                        : ArgumentRules::number(*text, 1, kMostScrollLines, QStringLiteral("scroll (or \"screen\")"),
                                                &error);
        } else {
            return usageOfSet(QStringLiteral("pointer"), QStringLiteral("unknown setting \"%1\"").arg(word));
        }
        if (!value)
            return usageOfSet(QStringLiteral("pointer"), error);
        calls.append({operation, *value});
    }
    for (const auto& [operation, value] : calls)
        session.call(operation, {value});
    if (session.callable())
        getPointer(session);
    return -1;
}

void SettingVerbs::resend(VerbSession& session) {
    // What each settings panel's init(true) sends, in the window's order.
    const QJsonArray values =
        rule(QStringLiteral("PanelMath.stageValues"), {session.call(QStringLiteral("ui_91H_GetDPISet"))}).toArray();
    const QJsonArray inUse =
        rule(QStringLiteral("PanelMath.stageInUse"), {session.call(QStringLiteral("ui_91H_GetDPISelect"))}).toArray();
    session.call(QStringLiteral("ui_11H_SetDPISelect"), {rule(QStringLiteral("PanelMath.dpiSelectList"), {inUse})});
    session.call(QStringLiteral("ui_11H_SetDPISet"),
                 {kStages, rule(QStringLiteral("PanelMath.dpiCodeList"), {values, inUse}),
                  rule(QStringLiteral("PanelMath.dpiValueList"), {values})});
    const QJsonValue colours = session.call(QStringLiteral("ui_90H_GetLED8StageColor"), {kColourTableType});
    session.call(QStringLiteral("ui_10H_SetLED8StageColor"), {kColourTableType, colours});
    const QJsonArray light = session.call(QStringLiteral("ui_8DH_GetRGBLedEffect")).toArray();
    const QJsonObject shown = rule(QStringLiteral("PanelMath.lightFromStored"), {light}).toObject();
    const QJsonObject call = rule(QStringLiteral("PanelMath.lightCall"),
                                  {shown.value(QStringLiteral("effect")), shown.value(QStringLiteral("position")),
                                   light.size() > 2 ? light.at(2) : QJsonValue(kOption2)})
                                 .toObject();
    session.call(QStringLiteral("ui_0DH_SetRGBLedEffect"),
                 {call.value(QStringLiteral("effect")), call.value(QStringLiteral("level")),
                  call.value(QStringLiteral("option2")), call.value(QStringLiteral("configs"))});
    session.call(QStringLiteral("ui_01H_SetReportRate"),
                 {rule(QStringLiteral("PanelMath.reportRateFromStored"),
                       {session.call(QStringLiteral("ui_81H_GetReportRate"))})});
    QJsonArray axes;
    for (int axis = 0; axis < 2; ++axis)
        axes.append(rule(QStringLiteral("PanelMath.axisDeviceValue"),
                         {rule(QStringLiteral("PanelMath.axisPositionFromStored"),
                               {session.call(QStringLiteral("getXYSensitive"), {axis})})}));
    session.call(QStringLiteral("ui_0EH_SetXYSensitive"), axes);
    ButtonVerbs::resend(session);
}
