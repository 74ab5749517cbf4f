# shellcheck shell=bash disable=SC2154  # $work is the sourcing script's
# What bench/store_commands.sh and bench/compare_store_tools.sh share: the
# commands they time, in the order of their tables, a fresh copy of a store
# for each run, and the median. Source it with $work set to a scratch folder.

# median of the numbers on standard input
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# fresh_run STORE_FOLDER: $work/run made afresh with a copy of that store's
# workbook, so that every run starts from the same store.
fresh_run() {
  rm -rf "$work/run"
  mkdir "$work/run"
  cp "$1/BasePresentation.xls" "$work/run/"
}

# every_command: `row LABEL STORE ARGS...` for each command timed. STORE is s
# (the store as made) or d (with room for new lines and a line file to copy);
# FOLDER in ARGS stands for the run's folder.
every_command() {
  row "load the list" s list FOLDER
  row "New (name checked)" s new FOLDER "A new group"
  row "Copy a group (50 lines)" d copy FOLDER "Group 5" "Group copy"
  row "Delete a group (50 lines)" s delete FOLDER "Group 5"
  row "line editor: load a line" s line-load FOLDER "Group 5" 0
  row "line editor: save a new line" d line-insert FOLDER "Group 5" "a new line" /etc/hostname 150
  row "line editor: save a copied line" d line-duplicate FOLDER "Bench" 0 151
  row "line editor: delete a line" s line-delete FOLDER "Group 5" 0
}
