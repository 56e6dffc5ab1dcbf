// Parsing the options of a command from its table of options.
#include "options.hpp"

#include <algorithm>
#include <cstdio>

namespace lumetra_cli {

Option Flag(std::string Name, bool& Into) {
  return {std::move(Name), "", "", [&Into](const std::string&) { Into = true; }};
}

Option Value(std::string Name, std::string Alias, std::string Needs, std::string& Into) {
  return {std::move(Name), std::move(Alias), std::move(Needs), [&Into](const std::string& V) { Into = V; }};
}

Option LocaleOption(std::optional<int>& Into) {
  return {"--locale", "", "a number", [&Into](const std::string& V) {
            int locale = 0;
            if (!vcl::TryStrToInt(V, locale)) throw UsageError("--locale '" + V + "' is not an integer");
            Into = locale;
          }};
}

Option DpiOption(std::vector<int>& Into) {
  return {"--dpi", "", "a number", [&Into](const std::string& V) {
            int dpi = 0;
            if (!vcl::TryStrToInt(V, dpi) || !Vek::IsPixelsPerInch(dpi))
              throw UsageError("--dpi '" + V + "' is no screen's pixels per inch (48 to 960)");
            if (std::find(Into.begin(), Into.end(), dpi) == Into.end()) Into.push_back(dpi);
          }};
}

Parsed ParseOptions(const Args& Arguments, std::initializer_list<Option> Options) {
  return ParseOptions(Arguments, std::vector<Option>(Options));
}

Parsed ParseOptions(const Args& Arguments, const std::vector<Option>& Options) {
  Parsed p;
  bool options = true;
  for (std::size_t i = 0; i < Arguments.size(); ++i) {
    const std::string& a = Arguments[i];
    if (!options || a.size() < 2 || a[0] != '-') {
      p.Positional.push_back(a);
      continue;
    }
    if (a == "--") {
      options = false;
      continue;
    }
    if (a == "--help" || a == "-h") {
      p.Help = true;
      continue;
    }
    const Option* option = nullptr;
    for (const Option& o : Options)
      if (a == o.Name || (!o.Alias.empty() && a == o.Alias)) option = &o;
    if (!option) throw UsageError("unknown option '" + a + "'");
    if (option->Needs.empty()) {
      option->Take("");
      continue;
    }
    if (i + 1 == Arguments.size()) throw UsageError(a + " needs " + option->Needs);
    option->Take(Arguments[++i]);
  }
  return p;
}

bool HelpOrCheck(const Parsed& P, std::size_t Count, const std::string& Help) {
  if (P.Help) {
    std::fputs(Help.c_str(), stdout);
    return true;
  }
  if (P.Positional.size() != Count) throw UsageError("wrong arguments\n\n" + Help);
  return false;
}

Args AfterVerb(const Args& Arguments) { return Arguments.empty() ? Args() : Args(Arguments.begin() + 1, Arguments.end()); }

std::string LanguageOption(const std::string& Tag) {
  const auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
  const auto alnum = [&](char c) { return lower(c) || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); };
  // A modifier such as "@latin" (sr_RS@latin) stays as it is.
  const std::size_t at = Tag.find('@');
  const std::string tag = Tag.substr(0, at), modifier = at == std::string::npos ? "" : Tag.substr(at + 1);
  const std::size_t split = tag.find_first_of("_-");
  const std::string language = tag.substr(0, split), rest = split == std::string::npos ? "" : tag.substr(split + 1);
  const bool good = language.size() >= 2 && language.size() <= 3 && std::all_of(language.begin(), language.end(), lower) &&
                    (split == std::string::npos || (rest.size() >= 2 && rest.size() <= 8 && std::all_of(rest.begin(), rest.end(), alnum))) &&
                    (at == std::string::npos || (modifier.size() >= 2 && modifier.size() <= 8 && std::all_of(modifier.begin(), modifier.end(), lower)));
  if (!good) throw UsageError("--lang '" + Tag + "' is no language LL[_CC] (such as de, de_DE or pt_BR)");
  return (split == std::string::npos ? language : language + "_" + rest) + (at == std::string::npos ? "" : "@" + modifier);
}

}  // namespace lumetra_cli
