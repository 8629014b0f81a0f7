# The page's shell for emcc --shell-file: SOURCE/shell.html with each "/*include NAME*/" replaced
# by the text of SOURCE/NAME, written to OUTPUT. Run as cmake -DSOURCE=... -DOUTPUT=... -P.
file(READ "${SOURCE}/shell.html" shell)
string(REGEX MATCHALL "/\\*include [a-z.]+\\*/" includes "${shell}")
foreach(include IN LISTS includes)
  string(REGEX REPLACE "^/\\*include ([a-z.]+)\\*/$" "\\1" name "${include}")
  file(READ "${SOURCE}/${name}" text)
  string(REPLACE "${include}" "${text}" shell "${shell}")
endforeach()
file(WRITE "${OUTPUT}" "${shell}")
