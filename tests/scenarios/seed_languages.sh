#!/usr/bin/env bash
# Seeds of the real Notepad form (tests/data/seed: the form of tests/data/forms with the colour,
# replace, print and print setup dialogs added, captured by `lumetra capture --add`) in German,
# French, Russian and Japanese, each shown again on a Western system and compared text by text
# with the system's own dialogs (seed_languages_test.cpp says how).
#   seed_languages.sh <source dir> <Windows build dir>
set -euo pipefail
source_dir=$1 build=$2
run=$source_dir/cmake/wine-run
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/tests/data/seed/notepad_eight_dialogs.dfm" "$work/form.dfm"
export LUMETRA_WINEPREFIX=$build/wineprefix-seedtest
status=0
for pair in de_DE:1031 fr_FR:1036 ru_RU:1049 ja_JP:1041; do
  lang=${pair%%:*} locale=${pair##*:}
  echo "== $lang"
  LUMETRA_LC_ALL=$lang.UTF-8 "$run" "$build/apps/lumetra/lumetra.exe" seed "Z:$work/form.dfm" --lang "$lang" \
    --text "Z:$work/seeds-$lang.txt" --locale "$locale"
  LUMETRA_LC_ALL=$lang.UTF-8 LUMETRA_SEED_SHOWN="Z:$work/shown-$lang.txt" "$run" "$build/tests/seed_scenario_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter=SeedLanguages.DISABLED_WriteTheSystemsTexts
  LUMETRA_LC_ALL=en_US.UTF-8 LUMETRA_SEED_TEXTS="Z:$work/seeds-$lang.txt" LUMETRA_SEED_SHOWN="Z:$work/shown-$lang.txt" \
    LUMETRA_SEED_LOCALE=$locale "$run" "$build/tests/seed_scenario_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter=SeedLanguages.DISABLED_SeededDialogsShowTheSystemsTexts || status=1
done
# Seeded texts are checked like typed ones: Wine's Russian "C &учетом регистра" has a Latin C.
checked=$("$run" "$build/apps/lumetra/lumetra.exe" check "Z:$work/seeds-ru_RU.txt" 2>&1 || true)
if ! grep -q "TFindDialog.Caption\[1041\]: warning: Latin letter 'C' (U+0043) at character 1 among Cyrillic letters" <<<"$checked"; then
  echo "seed_languages.sh: the mixed-script check did not report the seeded Russian find dialog's Latin C:" >&2
  echo "$checked" >&2
  status=1
fi
exit $status
