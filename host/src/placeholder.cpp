// placeholder so the library builds
