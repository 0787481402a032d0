# The program's entry point is not part of the layer library: the executable
# (src/shell/program.cmake) and the tests each bring their own main.
get_target_property(_shell_sources pelk_shell SOURCES)
list(FILTER _shell_sources EXCLUDE REGEX "/src/shell/main\\.cpp$")
set_property(TARGET pelk_shell PROPERTY SOURCES ${_shell_sources})
