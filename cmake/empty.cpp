// Keeps a library target valid while all of its code comes from object libraries.
