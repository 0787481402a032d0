# Shared work runs on helper threads; the caller waits for them.
target_link_libraries(pelk_util PUBLIC Threads::Threads)
