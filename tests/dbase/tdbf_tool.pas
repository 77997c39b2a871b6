{ A second dBase engine for the tests: Free Pascal's TDbf, an independent implementation.

  tdbf_tool dump FILE  prints FILE as CSV (RFC 4180, CRLF), the way the converter's tabla command
                       prints it: text as stored (Windows-1252), numbers in shortest form with a
                       point, booleans T or F, dates YYYY-MM-DD, nulls and memos empty; records
                       flagged deleted are left out.
  tdbf_tool write DIR  writes NIVEL3.DBF, NIVEL4.DBF and NIVEL7.DBF into DIR: the same rows at
                       dBase levels 3, 4 and 7, with N, F, L, C and D fields, and I and O at 7. }
program tdbf_tool;

{$mode objfpc}{$H+}

uses
  SysUtils, DB, dbf, dbf_common, dbf_fields;

procedure Put(const Text: RawByteString);
begin
  if Length(Text) > 0 then
    FileWrite(StdOutputHandle, Text[1], Length(Text));
end;

function Quoted(const Value: RawByteString): RawByteString;
var
  I: Integer;
begin
  if (Pos(',', Value) = 0) and (Pos('"', Value) = 0) and (Pos(#13, Value) = 0) and
     (Pos(#10, Value) = 0) then
    Exit(Value);
  Result := '"';
  for I := 1 to Length(Value) do
  begin
    if Value[I] = '"' then
      Result := Result + '"';
    Result := Result + Value[I];
  end;
  Result := Result + '"';
end;

function Shown(Field: TField): RawByteString;
begin
  if Field.IsNull then
    Exit('');
  case Field.DataType of
    ftString, ftFixedChar, ftWideString:
      Result := TrimRight(Field.AsString);
    ftSmallint, ftInteger, ftWord, ftLargeint, ftAutoInc:
      Result := IntToStr(Field.AsLargeInt);
    ftFloat, ftCurrency, ftBCD:
      Result := FloatToStr(Field.AsFloat);
    ftBoolean:
      if Field.AsBoolean then Result := 'T' else Result := 'F';
    ftDate, ftDateTime:
      Result := FormatDateTime('yyyy"-"mm"-"dd', Field.AsDateTime);
  else
    Result := '';
  end;
end;

procedure Dump(const FileName: string);
var
  Table: TDbf;
  I: Integer;
  Line: RawByteString;
begin
  Table := TDbf.Create(nil);
  try
    Table.FilePathFull := ExtractFilePath(ExpandFileName(FileName));
    Table.TableName := ExtractFileName(FileName);
    Table.ReadOnly := True;
    Table.Open;
    Line := '';
    for I := 0 to Table.FieldCount - 1 do
    begin
      if I > 0 then Line := Line + ',';
      Line := Line + Quoted(Table.Fields[I].FieldName);
    end;
    Put(Line + #13#10);
    while not Table.EOF do
    begin
      Line := '';
      for I := 0 to Table.FieldCount - 1 do
      begin
        if I > 0 then Line := Line + ',';
        Line := Line + Quoted(Shown(Table.Fields[I]));
      end;
      Put(Line + #13#10);
      Table.Next;
    end;
    Table.Close;
  finally
    Table.Free;
  end;
end;

procedure AddField(Defs: TDbfFieldDefs; const Name: string; NativeType: Char;
  Width, Decimals: Integer);
var
  Def: TDbfFieldDef;
begin
  Def := Defs.AddFieldDef;
  Def.FieldName := Name;
  Def.NativeFieldType := NativeType;
  if Width > 0 then
  begin
    Def.Size := Width;
    Def.Precision := Decimals;
  end;
end;

procedure SetRow(Table: TDbf; Level: Integer; const Texto: RawByteString; Importe: Double;
  Entero: Integer; Ratio: Double; Activo: Boolean; Fecha: TDateTime; Cuenta: Integer;
  Doble: Double);
begin
  Table.Append;
  Table.FieldByName('TEXTO').AsString := Texto;
  Table.FieldByName('IMPORTE').AsFloat := Importe;
  Table.FieldByName('ENTERO').AsInteger := Entero;
  Table.FieldByName('RATIO').AsFloat := Ratio;
  Table.FieldByName('ACTIVO').AsBoolean := Activo;
  Table.FieldByName('FECHA').AsDateTime := Fecha;
  if Level = 7 then
  begin
    Table.FieldByName('CUENTA').AsInteger := Cuenta;
    Table.FieldByName('DOBLE').AsFloat := Doble;
  end;
  Table.Post;
end;

procedure WriteLevel(const Directory: string; Level: Integer);
var
  Table: TDbf;
  Defs: TDbfFieldDefs;
begin
  Table := TDbf.Create(nil);
  Defs := TDbfFieldDefs.Create(nil);
  try
    Table.FilePathFull := IncludeTrailingPathDelimiter(Directory);
    Table.TableName := 'NIVEL' + IntToStr(Level) + '.DBF';
    Table.TableLevel := Level;
    case Level of
      3: Defs.DbfVersion := xBaseIII;
      4: Defs.DbfVersion := xBaseIV;
    else
      Defs.DbfVersion := xBaseVII;
    end;
    AddField(Defs, 'TEXTO', 'C', 30, 0);
    AddField(Defs, 'IMPORTE', 'N', 10, 2);
    AddField(Defs, 'ENTERO', 'N', 6, 0);
    AddField(Defs, 'RATIO', 'F', 12, 4);
    AddField(Defs, 'ACTIVO', 'L', 0, 0);
    AddField(Defs, 'FECHA', 'D', 0, 0);
    if Level = 7 then
    begin
      AddField(Defs, 'CUENTA', 'I', 0, 0);
      AddField(Defs, 'DOBLE', 'O', 0, 0);
    end;
    Table.CreateTableEx(Defs);
    Table.Exclusive := True;
    Table.Open;
    SetRow(Table, Level, 'Pe'#$F1'a '#$CD#$F1'igo', 12.5, 42, -0.125, True,
      EncodeDate(2024, 3, 5), 2147483647, 2.5);
    SetRow(Table, Level, 'con, coma y "comillas"', -3.75, -7, 1000.5, False,
      EncodeDate(1999, 12, 31), -2147483647, -0.5);
    Table.Append;
    Table.Post;
    SetRow(Table, Level, 'BORRADO', 1, 1, 1, True, EncodeDate(2000, 1, 1), 1, 1);
    Table.Delete;
    SetRow(Table, Level, '  espacios', 0, 0, 0.0001, False, EncodeDate(2026, 12, 10), 0, 1e-7);
    Table.Close;
  finally
    Defs.Free;
    Table.Free;
  end;
end;

begin
  FormatSettings.DecimalSeparator := '.';
  if (ParamCount = 2) and (ParamStr(1) = 'dump') then
    Dump(ParamStr(2))
  else if (ParamCount = 2) and (ParamStr(1) = 'write') then
  begin
    WriteLevel(ParamStr(2), 3);
    WriteLevel(ParamStr(2), 4);
    WriteLevel(ParamStr(2), 7);
  end
  else
  begin
    WriteLn(StdErr, 'usage: tdbf_tool dump FILE | tdbf_tool write DIR');
    Halt(2);
  end;
end.
