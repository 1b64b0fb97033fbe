Echo "prima"
NonEsiste 1
