# Shared by scripts/check-layering and scripts/check-format (sourced, from the repository root):
# reads the module folders from modules.txt, the list the build reads too, and finds the C++
# sources of the tree.
#
#   ModuleFolders            the module folders, in the order of modules.txt
#   ModuleUses[FOLDER]       the folders FOLDER may use, separated by spaces
#   SourceFolders            the module folders, then tests and bench (which may use everything)
#   cpp_sources              prints every C++ source of the tree (not the build folders)
#   module_of PATH           prints the module folder PATH lies in (the longest one), or nothing
#   check_sources_are_listed fails, naming them, on C++ sources outside SourceFolders

ModuleFolders=()
declare -A ModuleUses=()
while IFS= read -r line || [[ -n $line ]]; do
  [[ $line =~ ^[[:space:]]*(#|$) ]] && continue
  if [[ ! $line =~ ^([A-Za-z0-9_/]+):(.*)$ ]]; then
    echo "modules.txt: cannot read the line '$line'" >&2
    exit 1
  fi
  ModuleFolders+=("${BASH_REMATCH[1]}")
  read -r -a uses <<<"${BASH_REMATCH[2]}"
  ModuleUses[${BASH_REMATCH[1]}]="${uses[*]}"
done <modules.txt
SourceFolders=("${ModuleFolders[@]}" tests bench)

# Tracked and new files alike (so that a folder not yet committed is checked too), without what
# .gitignore names (the build folders); outside a git checkout, every file but the build folders.
cpp_sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' |
      while IFS= read -r file; do [[ -f $file ]] && echo "$file"; done
  else
    find . \( -path './build*' -o -path './.git' \) -prune -o \
      \( -name '*.cpp' -o -name '*.h' \) -type f -print | sed 's|^\./||'
  fi | sort -u
}

module_of() {
  local path=$1 found="" folder
  for folder in "${ModuleFolders[@]}"; do
    if [[ $path == "$folder/"* && ${#folder} -gt ${#found} ]]; then found=$folder; fi
  done
  echo "$found"
}

check_sources_are_listed() {
  local file top unlisted=0
  while IFS= read -r file; do
    top=${file%%/*}
    [[ $file == */* && ( $top == tests || $top == bench || -n $(module_of "$file") ) ]] && continue
    echo "$file: in no module folder of modules.txt (add its folder there)" >&2
    unlisted=$((unlisted + 1))
  done < <(cpp_sources)
  ((unlisted == 0))
}
