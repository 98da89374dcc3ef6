{ Compiles the help project klr.hhp into klr.chm with Free Pascal's CHM library.

    klr_chm PROJECT.hhp OUTPUT.chm

  The library's own project reader and chmcmd are not used: they store each help
  context's topic under the absolute path of the project's folder, where HTML
  Help finds nothing, drop a map #include they cannot find without a word, and
  stamp the file with the clock. Here every path is taken relative to the
  project file, each topic is stored by its name inside the file, every context
  must have exactly one topic, and the same sources always give the same bytes. }
program klr_chm;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils, contnrs, chmwriter, chmtypes, chmsitemap;

type
  EProject = class(Exception);

  { What the project file says. Names of topics are kept as written in [FILES]. }
  TProject = class
  public
    Dir: String;                 // folder of the project file, with a trailing separator
    Options: TStringList;        // [OPTIONS] as name=value
    Windows: TObjectList;        // [WINDOWS], one TCHMWindow each
    Files: TStringList;          // [FILES]
    Aliases: TStringList;        // [ALIAS] as name=topic
    Contexts: TStringList;       // from [MAP]: name=number, in the order read
    constructor Create;
    destructor Destroy; override;
    procedure Load(const FileName: String);
    function Option(const Name: String): String;
  private
    procedure ReadMap(const Line, Source: String);
  end;

  { Hands the topics to the writer and appends the contents when they are done. }
  TFeeder = class
  public
    Project: TProject;
    Contents: TMemoryStream;
    function GetData(const DataName: String; out PathInChm: String; out FileName: String;
      var Stream: TStream): Boolean;
    procedure LastFile(Sender: TObject);
  end;

function Slashed(const Path: String): String;
begin
  Result := StringReplace(Path, '\', '/', [rfReplaceAll]);
end;

constructor TProject.Create;
begin
  Options := TStringList.Create;
  Windows := TObjectList.Create(True);
  Files := TStringList.Create;
  Aliases := TStringList.Create;
  Contexts := TStringList.Create;
end;

destructor TProject.Destroy;
begin
  Options.Free;
  Windows.Free;
  Files.Free;
  Aliases.Free;
  Contexts.Free;
  inherited Destroy;
end;

function TProject.Option(const Name: String): String;
begin
  Result := Trim(Options.Values[Name]);
end;

{ A #define or #include of [MAP], also the lines of an included header. A header
  may hold other lines (#pragma, comments), but every #define is a context. }
procedure TProject.ReadMap(const Line, Source: String);
var
  Words: TStringList;
  Header: TStringList;
  Path: String;
  Number, I: Integer;
begin
  Words := TStringList.Create;
  try
    Words.Delimiter := ' ';
    Words.StrictDelimiter := False;
    Words.DelimitedText := StringReplace(Trim(Line), #9, ' ', [rfReplaceAll]);
    if Words.Count = 0 then
      Exit;
    if SameText(Words[0], '#include') and (Words.Count >= 2) then
    begin
      Path := Dir + Slashed(Trim(Copy(Trim(Line), Length('#include') + 1, MaxInt)));
      Path := StringReplace(StringReplace(Path, '"', '', [rfReplaceAll]), '<', '', [rfReplaceAll]);
      Path := StringReplace(Path, '>', '', [rfReplaceAll]);
      if not FileExists(Path) then
        raise EProject.CreateFmt('%s: the map''s header %s is not there', [Source, Path]);
      Header := TStringList.Create;
      try
        Header.LoadFromFile(Path);
        for I := 0 to Header.Count - 1 do
          ReadMap(Header[I], ExtractFileName(Path));
      finally
        Header.Free;
      end;
    end
    else if SameText(Words[0], '#define') then
    begin
      if (Words.Count < 3) or not TryStrToInt(Words[2], Number) or (Number <= 0) then
        raise EProject.CreateFmt('%s: "%s" is not a context number', [Source, Trim(Line)]);
      if Contexts.IndexOfName(Words[1]) >= 0 then
        raise EProject.CreateFmt('%s: context %s is defined twice', [Source, Words[1]]);
      Contexts.Add(Words[1] + '=' + IntToStr(Number));
    end;
  finally
    Words.Free;
  end;
end;

procedure TProject.Load(const FileName: String);
var
  Lines: TStringList;
  Line, Section, Name, Topic, Number: String;
  I, J: Integer;
begin
  Dir := IncludeTrailingPathDelimiter(ExtractFilePath(ExpandFileName(FileName)));
  Lines := TStringList.Create;
  try
    Lines.LoadFromFile(FileName);
    Section := '';
    for I := 0 to Lines.Count - 1 do
    begin
      Line := Trim(Lines[I]);
      if (Line = '') or (Line[1] = ';') then
        Continue;
      if (Line[1] = '[') and (Line[Length(Line)] = ']') then
      begin
        Section := UpperCase(Copy(Line, 2, Length(Line) - 2));
        Continue;
      end;
      if Section = 'OPTIONS' then
        Options.Add(Line)
      else if Section = 'WINDOWS' then
        Windows.Add(TCHMWindow.Create(Line))
      else if Section = 'FILES' then
        Files.Add(Slashed(Line))
      else if Section = 'ALIAS' then
        Aliases.Add(Trim(Copy(Line, 1, Pos('=', Line) - 1)) + '=' +
                    Slashed(Trim(Copy(Line, Pos('=', Line) + 1, MaxInt))))
      else if Section = 'MAP' then
        ReadMap(Line, ExtractFileName(FileName))
      else
        raise EProject.CreateFmt('%s: line "%s" belongs to no known section', [FileName, Line]);
    end;
  finally
    Lines.Free;
  end;

  // Each topic must be there, and each context must lead to exactly one of them.
  for I := 0 to Files.Count - 1 do
    if not FileExists(Dir + Files[I]) then
      raise EProject.CreateFmt('%s: topic %s is not there', [FileName, Files[I]]);
  for I := 0 to Aliases.Count - 1 do
  begin
    Name := Aliases.Names[I];
    Topic := Aliases.ValueFromIndex[I];
    if Files.IndexOf(Topic) < 0 then
      raise EProject.CreateFmt('%s: alias %s names %s, which [FILES] does not list', [FileName, Name, Topic]);
    if Contexts.IndexOfName(Name) < 0 then
      raise EProject.CreateFmt('%s: alias %s has no number in the map', [FileName, Name]);
  end;
  for I := 0 to Contexts.Count - 1 do
  begin
    if Aliases.IndexOfName(Contexts.Names[I]) < 0 then
      raise EProject.CreateFmt('%s: context %s has no topic in [ALIAS]', [FileName, Contexts.Names[I]]);
    Number := Contexts.ValueFromIndex[I];
    for J := 0 to I - 1 do
      if Contexts.ValueFromIndex[J] = Number then
        raise EProject.CreateFmt('%s: %s and %s have the same number %s',
                                 [FileName, Contexts.Names[J], Contexts.Names[I], Number]);
  end;
  if Files.IndexOf(Option('Default topic')) < 0 then
    raise EProject.CreateFmt('%s: the default topic is not in [FILES]', [FileName]);
end;

function TFeeder.GetData(const DataName: String; out PathInChm: String; out FileName: String;
  var Stream: TStream): Boolean;
begin
  TMemoryStream(Stream).LoadFromFile(Project.Dir + DataName);
  PathInChm := '/' + ExtractFilePath(DataName);
  FileName := ExtractFileName(DataName);
  Result := False;  // True would stop the compression
end;

procedure TFeeder.LastFile(Sender: TObject);
begin
  if Contents <> nil then
    TChmWriter(Sender).AppendTOC(Contents);
end;

{ Every entry of the contents must open a topic of the file. }
procedure CheckContents(Items: TChmSiteMapItems; Project: TProject; const Source: String);
var
  I: Integer;
begin
  for I := 0 to Items.Count - 1 do
  begin
    if (Items.Item[I].Local <> '') and (Project.Files.IndexOf(Slashed(Items.Item[I].Local)) < 0) then
      raise EProject.CreateFmt('%s: "%s" leads to %s, which [FILES] does not list',
                               [Source, Items.Item[I].Text, Items.Item[I].Local]);
    CheckContents(Items.Item[I].Children, Project, Source);
  end;
end;

{ The library takes two values from the clock and writes the first header GUID
  twice; the format has ...FD10... then ...FD11..., and strict readers check it. }
procedure MendOutput(Chm: TMemoryStream);
const
  TimeOffset = $10;         // ITSF header: time stamp
  SecondGuidOffset = $28;   // ITSF header: the second GUID
  SecondGuid: TGuid = '{7C01FD11-7BAA-11D0-9E0C-00A0C922E6EC}';
  SystemVersion = 'HHA Version';
var
  Bytes: PByte;
  Found, I, Start: Integer;
begin
  Bytes := PByte(Chm.Memory);
  PLongWord(Bytes + TimeOffset)^ := 0;
  Move(SecondGuid, (Bytes + SecondGuidOffset)^, SizeOf(TGuid));
  // #SYSTEM (stored uncompressed) opens with version 3, then entry 10 (4 bytes of
  // time stamp) and entry 9 (the compiler's name).
  Found := -1;
  for I := 0 to Chm.Size - Length(SystemVersion) - 1 do
    if CompareByte((Bytes + I)^, SystemVersion[1], Length(SystemVersion)) = 0 then
    begin
      Start := I - 16;
      if (Start >= 0) and (PLongWord(Bytes + Start)^ = 3) and (PWord(Bytes + Start + 4)^ = 10)
         and (PWord(Bytes + Start + 6)^ = 4) and (PWord(Bytes + Start + 12)^ = 9) then
      begin
        if Found >= 0 then
          raise EProject.Create('#SYSTEM found twice');
        Found := Start;
      end;
    end;
  if Found < 0 then
    raise EProject.Create('#SYSTEM not found: the library writes another layout');
  PLongWord(Bytes + Found + 8)^ := 0;
end;

var
  Project: TProject;
  Feeder: TFeeder;
  Output: TMemoryStream;
  Writer: TChmWriter;
  Toc: TChmSiteMap;
  Window: TCHMWindow;
  I: Integer;
begin
  if ParamCount <> 2 then
  begin
    WriteLn(StdErr, 'usage: klr_chm PROJECT.hhp OUTPUT.chm');
    Halt(2);
  end;
  Project := TProject.Create;
  Feeder := TFeeder.Create;
  Output := TMemoryStream.Create;
  Toc := nil;
  try
    try
      Project.Load(ParamStr(1));
      Feeder.Project := Project;
      if Project.Option('Contents file') <> '' then
      begin
        Feeder.Contents := TMemoryStream.Create;
        Feeder.Contents.LoadFromFile(Project.Dir + Project.Option('Contents file'));
        Toc := TChmSiteMap.Create(stTOC);
        Toc.LoadFromStream(Feeder.Contents);
        CheckContents(Toc.Items, Project, Project.Option('Contents file'));
        Feeder.Contents.Position := 0;
      end;
      Writer := TChmWriter.Create(Output, False);
      try
        Writer.Title := Project.Option('Title');
        Writer.DefaultPage := Project.Option('Default topic');
        Writer.TocName := Project.Option('Contents file');
        Writer.DefaultWindow := Project.Option('Default Window');
        Writer.FullTextSearch := SameText(Project.Option('Full-text search'), 'Yes');
        Writer.LocaleID := StrToIntDef(Copy(Project.Option('Language'), 1, 5), $0409);
        if Project.Windows.Count > 0 then
          Writer.Windows := Project.Windows;
        // The writer's copies mark as given the window's style, extended style
        // and position, which the project leaves empty (0): only the panes and
        // tabs, their width and the buttons are the project's.
        for I := 0 to Writer.Windows.Count - 1 do
        begin
          Window := TCHMWindow(Writer.Windows[I]);
          Window.flags := [valid_Navigation_pane_style, valid_Navigation_pane_width, valid_Buttons];
        end;
        Writer.FilesToCompress.AddStrings(Project.Files);
        Writer.OnGetFileData := @Feeder.GetData;
        Writer.OnLastFile := @Feeder.LastFile;
        // HTML Help resolves a context to this name inside the file.
        for I := 0 to Project.Contexts.Count - 1 do
          Writer.AddContext(StrToInt(Project.Contexts.ValueFromIndex[I]),
                            Project.Aliases.Values[Project.Contexts.Names[I]]);
        Writer.Execute;
      finally
        Writer.Free;
      end;
      MendOutput(Output);
      Output.SaveToFile(ParamStr(2));
    except
      on E: Exception do
      begin
        WriteLn(StdErr, 'klr_chm: ', E.Message);
        DeleteFile(ParamStr(2));
        ExitCode := 1;
      end;
    end;
  finally
    Toc.Free;
    Feeder.Contents.Free;
    Feeder.Free;
    Output.Free;
    Project.Free;
  end;
end.
