#pragma once

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/number_text.h"

// One field option of a page command: how its text goes into the page's settings, with the
// rules of the page's own field. A text field takes any text, as an editable combo box does;
// a number field reads its text like the page's edit box and checks the page's range.
template <typename Settings>
class FieldOption {
public:
    // Why the page would refuse the text, or nothing when the settings took it.
    using Take = std::function<std::optional<std::string>(Settings&, const std::string&)>;

    static FieldOption Text(std::string name, std::string Settings::*member) {
        return {std::move(name),
                "TEXT",
                {},
                [member](Settings& settings, const std::string& text) {
                    settings.*member = text;
                    return std::optional<std::string>();
                },
                [member](const Settings& settings) { return settings.*member; }};
    }

    static FieldOption Choice(std::string name, std::string Settings::*member,
                              std::vector<std::string> words) {
        const std::string alternatives = fmt::format("{}", fmt::join(words, "|"));
        return {std::move(name),
                alternatives,
                {},
                [member, words, alternatives](Settings& settings, const std::string& text) {
                    if (std::find(words.begin(), words.end(), text) == words.end()) {
                        return std::optional<std::string>(
                            fmt::format("\"{}\" is not one of {}", text, alternatives));
                    }
                    settings.*member = text;
                    return std::optional<std::string>();
                },
                [member](const Settings& settings) { return settings.*member; }};
    }

    static FieldOption Number(std::string name, double Settings::*member,
                              std::optional<std::pair<double, double>> range = {}) {
        return Numeric(std::move(name), "NUMBER", "a number", member, ParseDouble, FormatDouble,
                       range);
    }

    static FieldOption Integer(std::string name, int Settings::*member,
                               std::optional<std::pair<int, int>> range = {}) {
        return Numeric(
            std::move(name), "INTEGER", "an integer", member, ParseInt,
            [](int value) { return fmt::format("{}", value); }, range);
    }

    const std::string& Name() const { return m_name; }

    std::optional<std::string> TakeText(Settings& settings, const std::string& text) const {
        return m_take(settings, text);
    }

    // One line of the command's help: the option, its range, and the page's default.
    std::string Describe(const Settings& defaults) const {
        const std::string range = m_range.empty() ? std::string() : m_range + "; ";
        return fmt::format("  {:<24}{}default {}\n", m_name + " " + m_valueName, range,
                           m_show(defaults));
    }

private:
    using Show = std::function<std::string(const Settings&)>;

    FieldOption(std::string name, std::string valueName, std::string range, Take take, Show show)
        : m_name(std::move(name)),
          m_valueName(std::move(valueName)),
          m_range(std::move(range)),
          m_take(std::move(take)),
          m_show(std::move(show)) {}

    template <typename Value, typename Parse, typename Format>
    static FieldOption Numeric(std::string name, std::string valueName, const char* kind,
                               Value Settings::*member, Parse parse, Format format,
                               std::optional<std::pair<Value, Value>> range) {
        const std::string rangeText =
            range ? fmt::format("{} to {}", format(range->first), format(range->second)) : "";
        Take take = [=](Settings& settings, const std::string& text) {
            const std::optional<Value> value = parse(text);
            if (!value)
                return std::optional<std::string>(fmt::format("\"{}\" is not {}", text, kind));
            if (range && (*value < range->first || *value > range->second)) {
                return std::optional<std::string>(
                    fmt::format("\"{}\" is not within {}", text, rangeText));
            }
            settings.*member = *value;
            return std::optional<std::string>();
        };
        return {std::move(name), std::move(valueName), rangeText, std::move(take),
                [member, format](const Settings& settings) { return format(settings.*member); }};
    }

    std::string m_name;       // "--freq"
    std::string m_valueName;  // what the help shows after the name
    std::string m_range;      // the page's range, when it has one
    Take m_take;
    Show m_show;
};
