# Wraps a CommonJS module (the INI reader) so that a page can load it as a plain script: its
# exports become the global `ini`.
file(READ ${INPUT} body)
file(WRITE ${OUTPUT} "(function () {\nvar module = {exports: {}}, exports = module.exports;\n${body}\nwindow.ini = module.exports;\n})();\n")
