// Lets a library exist before its first source file does.
