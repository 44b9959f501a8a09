// Keeps a library valid while its folder holds no sources yet.
