@echo off
rem Demo stand-in for the product's access-control batch file: it only
rem records that it ran, where, and what the answer file said.
echo acl.bat ran in %CD%> "%~dp0acl-ran.txt"
type "%~dp0yes.txt">> "%~dp0acl-ran.txt"
