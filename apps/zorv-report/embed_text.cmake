# Writes OUTPUT, a C++ file defining the std::string_view NAME that holds the
# text of INPUT as it stands (cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P).
file(READ "${INPUT}" text)
file(WRITE "${OUTPUT}.new"
  "// Made by the build from ${INPUT}.\n#include <string_view>\n\nnamespace zorv {\n\n"
  "extern const std::string_view ${NAME};\nconst std::string_view ${NAME} = R\"zorvtext(${text})zorvtext\";\n\n}  // namespace zorv\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
