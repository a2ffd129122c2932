# AddressSanitizer + UndefinedBehaviorSanitizer for the whole build (the asan preset).
if(ZEMTRA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# ThreadSanitizer for the whole build (the tsan preset): the USB I/O threads.
if(ZEMTRA_SANITIZE_THREAD)
  if(ZEMTRA_SANITIZE)
    message(FATAL_ERROR "ThreadSanitizer cannot be combined with AddressSanitizer")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
