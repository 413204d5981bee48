# Writes OUTPUT, a C++ source defining brindle::dede::kPhpHelpersSource as the text of INPUT, so the
# PHP helpers travel inside the binary. Run as `cmake -DINPUT=... -DOUTPUT=... -P embed_php.cmake`.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} by embed_php.cmake.\n"
  "namespace brindle::dede {\nextern const char kPhpHelpersSource[] = {${bytes}0};\n}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
