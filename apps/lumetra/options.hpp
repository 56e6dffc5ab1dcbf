// The options of the command line's commands: one parser that every command gives its table of
// options, so that "--", --help, missing values and unknown options read alike everywhere.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "commands.hpp"

namespace lumetra_cli {

/// One option of a command: its names, and what it does with its value.
struct Option {
  std::string Name;   // "--locale"
  std::string Alias;  // another name ("-o"), or empty
  /// What the value is, for "NAME needs <Needs>" when it is missing ("a number"); empty for an
  /// option that takes no value.
  std::string Needs;
  /// Takes the value (empty for an option without one); raises UsageError when it is wrong.
  std::function<void(const std::string& Value)> Take;
};

/// An option without a value that sets Into.
Option Flag(std::string Name, bool& Into);
/// An option whose value goes to Into as it is; Needs as in Option.
Option Value(std::string Name, std::string Alias, std::string Needs, std::string& Into);
/// --locale N, an integer: "--locale 'x' is not an integer" otherwise.
Option LocaleOption(std::optional<int>& Into);

/// --dpi N, a screen's pixels per inch (48 to 960); each one given is added to Into, once.
Option DpiOption(std::vector<int>& Into);

/// The language of --lang as gettext writes it: LL or LLL in lower case, then "_" (or "-") and a
/// country or script of two to eight letters or digits ("de", "de_DE", "pt_BR"); raises
/// UsageError naming Tag otherwise.
std::string LanguageOption(const std::string& Tag);

/// What a command line holds once its options are taken.
struct Parsed {
  std::vector<std::string> Positional;  // the arguments that are no options, in order
  bool Help = false;                    // --help or -h was given
};

/// Takes the options of Arguments through Options; "--" makes every argument after it
/// positional, and so is "-" alone. Raises UsageError "unknown option 'X'" for an argument that
/// starts with "-" and no option names, and "NAME needs WHAT" for a value that is missing.
Parsed ParseOptions(const Args& Arguments, std::initializer_list<Option> Options);
/// As above, for a table of options made at run time.
Parsed ParseOptions(const Args& Arguments, const std::vector<Option>& Options);

/// Prints Help on stdout and answers true when P asks for help; raises UsageError "wrong
/// arguments" with Help after it when P holds not Count positional arguments.
bool HelpOrCheck(const Parsed& P, std::size_t Count, const std::string& Help);

/// The arguments after the first (a command's verb); none when there are none.
Args AfterVerb(const Args& Arguments);

}  // namespace lumetra_cli
