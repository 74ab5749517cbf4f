# Writes OUTPUT, a C++ source that holds the text file INPUT as the byte array
# SYMBOL (with SYMBOL`Size`), every line end made a carriage return: macro
# texts are added to a project with lines joined that way.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
string(REPLACE "0x0d,0x0a," "0x0d," bytes "${bytes}")
string(REPLACE "0x0a," "0x0d," bytes "${bytes}")
get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${source} at build time; edit that file instead.\n"
  "#include <cstddef>\n\n"
  "namespace macros::data {\n"
  "extern const unsigned char ${SYMBOL}[] = {${bytes}0x00};\n"
  "extern const std::size_t ${SYMBOL}Size = sizeof ${SYMBOL} - 1;\n"
  "}  // namespace macros::data\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
