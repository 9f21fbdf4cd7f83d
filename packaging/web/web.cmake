# SPDX-License-Identifier: MIT
# What the web build differs in: the program is a WebAssembly module and its loader, which
# packaging/web/build lays out with the page; beside it, a bare Qt Widgets window built the same way, for
# the start-up benchmark. Included from the top-level file.
qt_add_executable(bare-window bench/bare_window.cpp)
target_link_libraries(bare-window PRIVATE ztc_calc Qt6::Widgets)
# Built for the benchmark alone (packaging/web/build bench).
set_target_properties(bare-window PROPERTIES EXCLUDE_FROM_ALL ON)

# No code made from strings at run time, so that the page's security policy can forbid eval.
# Static constructors run at build time where they can, not on the page as it starts.
foreach(target zandrel-ticket-calculator bare-window)
  target_link_options(${target} PRIVATE -sDYNAMIC_EXECUTION=0 -sEVAL_CTORS=1 -Oz)
endforeach()
